// The push button: its state table, and the same table driven by real mouse
// input on a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "push_button_states.h"
#include "toolkit_test_support.h"
#include "vemo/frame.h"
#include "vemo/push_button.h"

namespace vemo::testing {
namespace {

struct transition {
  int state;
  button_event event;
  bool pressed_image, hover_image;
  int next;
  bool repaint, notify;
};

TEST(PushButtonStates, FollowTheStateTable) {
  constexpr auto move = button_event::mouse_move, leave = button_event::mouse_leave,
                 down = button_event::button_down, up = button_event::button_up;
  const transition table[] = {
      // normal
      {0, move, true, true, 2, true, false},
      {0, leave, true, true, 0, false, false},
      {0, down, true, true, 1, true, false},
      {0, down, false, true, 0, false, false},
      {0, up, true, true, 0, true, true},
      // pressed
      {1, move, true, true, 1, false, false},
      {1, leave, true, true, 0, true, false},
      {1, down, true, true, 1, false, false},
      {1, up, true, true, 2, true, true},
      {1, up, true, false, 0, true, true},
      // hover
      {2, move, true, true, 2, false, false},
      {2, leave, true, true, 0, true, false},
      {2, down, true, true, 1, true, false},
      {2, down, false, true, 2, false, false},
      {2, up, true, true, 0, true, true},
      // disabled, and a state the owner set out of range
      {3, move, true, true, 3, false, false},
      {3, leave, true, true, 3, false, false},
      {3, down, true, true, 3, false, false},
      {3, up, true, true, 3, false, false},
      {7, up, true, true, 7, false, false},
  };
  for (const auto& t : table) {
    const auto step = vemo::next_button_state(t.state, t.event, t.pressed_image, t.hover_image);
    const std::string where = "state " + std::to_string(t.state) + ", event " +
                              std::to_string(static_cast<int>(t.event)) + ", images " +
                              std::to_string(t.pressed_image) + std::to_string(t.hover_image);
    EXPECT_EQ(step.state, t.next) << where;
    EXPECT_EQ(step.repaint, t.repaint) << where;
    EXPECT_EQ(step.notify, t.notify) << where;
  }
}

struct command {
  int code, id;
  HWND control;
};

class command_parent : public vemo::frame {
 public:
  command_parent()
      : frame(unique_class_name(L"button_parent"), 0, nullptr, nullptr, nullptr,
              nullptr) {}
  bool on_command(int code, int id, HWND control) override {
    commands.push_back({code, id, control});
    return true;
  }
  std::vector<command> commands;
};

constexpr int button_width = 80, button_height = 30;
constexpr COLORREF state_colours[] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 30, 200),
                                      RGB(90, 90, 90)};

// A parent window with one button; the images of the states named in
// `loaded` exist, the others are missing files.
class PushButtonMouse : public ::testing::Test {
 protected:
  void build(const std::vector<int>& loaded) {
    std::wstring files[4];
    for (int state = 0; state < 4; ++state) {
      files[state] = L"button_" + std::to_wstring(state) + L".bmp";
      for (int wanted : loaded)
        if (wanted == state)
          images_.push_back(std::make_unique<scoped_file>(
              files[state],
              bmp_file(button_width, button_height, [state](int, int) {
                return state_colours[state];
              })));
      files[state] = test_folder() + L"\\" + files[state];
    }
    button = std::make_unique<push_button>(files[0], files[1], files[2], files[3], 7, 3);
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{200, 200, 500, 400}, nullptr, nullptr),
              nullptr);
    ASSERT_NE(vemo::create_child_window(*button, parent, WS_CHILD | WS_VISIBLE), nullptr);
    MoveWindow(button->handle(), 20, 20, button_width, button_height, TRUE);
    button->update();
    move_outside();
  }

  void TearDown() override {
    button.reset();
    pump_messages();
  }

  void move_inside(int x = 10, int y = 10) {
    const POINT p = client_to_screen(button->handle(), x, y);
    move_cursor_to(p.x, p.y);
  }
  void move_outside() {
    const POINT p = client_to_screen(parent.handle(), 250, 150);
    move_cursor_to(p.x, p.y);
  }
  bool wait_for_state(int state) {
    return pump_until([&] { return button->state() == state; });
  }
  COLORREF shown(int x, int y) {
    UpdateWindow(button->handle());
    const HDC dc = GetDC(button->handle());
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(button->handle(), dc);
    return colour;
  }
  void expect_one_click() {
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].id, 7);
    EXPECT_EQ(parent.commands[0].code, 3);
    EXPECT_EQ(parent.commands[0].control, button->handle());
  }

  command_parent parent;
  std::unique_ptr<push_button> button;

 private:
  std::vector<std::unique_ptr<scoped_file>> images_;
};

TEST_F(PushButtonMouse, HoverPressReleaseAndLeaveShowTheirImages) {
  build({0, 1, 2});
  EXPECT_EQ(shown(5, 5), state_colours[0]);

  move_inside();
  EXPECT_EQ(button->state(), push_button::hover);
  EXPECT_EQ(shown(5, 5), state_colours[2]);

  press_left();
  EXPECT_EQ(button->state(), push_button::pressed);
  EXPECT_EQ(shown(5, 5), state_colours[1]);
  EXPECT_TRUE(parent.commands.empty());

  release_left();
  EXPECT_EQ(button->state(), push_button::hover);
  EXPECT_EQ(shown(5, 5), state_colours[2]);
  expect_one_click();

  move_outside();
  EXPECT_TRUE(wait_for_state(push_button::normal));
  EXPECT_EQ(shown(5, 5), state_colours[0]);
  EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(PushButtonMouse, GoingAwayDeletesEveryImage) {
  build({0, 1, 2});
  std::vector<HGDIOBJ> objects;
  for (int state : {0, 1, 2}) {
    ASSERT_NE(button->image(state), nullptr);
    objects.push_back(button->image(state)->dc());
    objects.push_back(button->image(state)->bitmap());
  }
  button.reset();
  for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u);
}

TEST_F(PushButtonMouse, WithoutImagesItOutlinesTheHoverAndStillNotifies) {
  build({});
  move_inside();
  EXPECT_EQ(button->state(), push_button::hover);
  EXPECT_EQ(shown(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(shown(button_width - 1, button_height - 1), RGB(0, 0, 0));
  EXPECT_EQ(shown(button_width / 2, button_height / 2), GetSysColor(COLOR_WINDOW));

  for (int click = 1; click <= 2; ++click) {
    press_left();
    EXPECT_EQ(button->state(), push_button::hover);  // no pressed image to show
    release_left();
    EXPECT_EQ(button->state(), push_button::normal);
    EXPECT_EQ(parent.commands.size(), static_cast<size_t>(click));
    move_inside(11 + click, 10);  // back to hover for the next click
  }

  move_outside();
  EXPECT_TRUE(wait_for_state(push_button::normal));
}

TEST_F(PushButtonMouse, DisabledButtonIgnoresEveryMouseAction) {
  build({0, 1, 2, 3});
  button->set_state(push_button::disabled);
  InvalidateRect(button->handle(), nullptr, TRUE);
  EXPECT_EQ(shown(5, 5), state_colours[3]);

  move_inside();
  press_left();
  release_left();
  move_outside();
  pump_messages();
  EXPECT_EQ(button->state(), push_button::disabled);
  EXPECT_TRUE(parent.commands.empty());
}

TEST_F(PushButtonMouse, ReleaseCountsOnlyOverTheButtonWhereverThePressBegan) {
  build({0, 1, 2});
  // Pressed on the parent, released over the button.
  press_left();
  move_inside();
  release_left();
  expect_one_click();

  // Pressed on the button, released outside it.
  move_inside(20, 12);
  press_left();
  EXPECT_EQ(button->state(), push_button::pressed);
  move_outside();
  EXPECT_TRUE(wait_for_state(push_button::normal));
  release_left();
  EXPECT_EQ(parent.commands.size(), 1u);
}

LRESULT CALLBACK counting_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  static int* commands = nullptr;
  if (message == WM_CREATE)
    commands = static_cast<int*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
  if (message == WM_COMMAND && commands) ++*commands;
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(PushButtonParent, ButtonOfAForeignParentNotifiesNobody) {
  const std::wstring class_name = unique_class_name(L"foreign");
  WNDCLASSW wc{};
  wc.lpfnWndProc = counting_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = class_name.c_str();
  ASSERT_NE(RegisterClassW(&wc), 0);
  int commands = 0;
  const HWND foreign = CreateWindowExW(0, class_name.c_str(), L"", WS_POPUP, 0, 0, 100, 100,
                                       nullptr, nullptr, wc.hInstance, &commands);
  ASSERT_NE(foreign, nullptr);
  {
    push_button button(L"", L"", L"", L"", 1, 0);
    vemo::hwnd_helper parent(foreign);
    ASSERT_NE(vemo::create_child_window(button, parent, WS_CHILD), nullptr);
    SendMessageW(button.handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(button.state(), push_button::normal);
  }
  EXPECT_EQ(commands, 0);
  DestroyWindow(foreign);
  UnregisterClassW(class_name.c_str(), wc.hInstance);
}

}  // namespace
}  // namespace vemo::testing
