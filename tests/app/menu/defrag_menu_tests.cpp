// The defragmentation menu over the sample skin: what its buttons send the
// main window, odd ranges, and that a menu built for every use leaves no GDI
// object behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "menu/defrag_menu.h"
#include "menu/scripted_dialog.h"
#include "vemo/dialog_items.h"
#include "vemo/frame.h"
#include "vemo/push_button.h"
#include "vemo/settings.h"

namespace tessarel::testing {
namespace {

// Stands in for the main window: records its commands and whether the menu
// was still open when each arrived.
class command_owner : public vemo::frame {
 public:
  command_owner()
      : frame(unique_class_name(L"menu_owner"), 0, nullptr, nullptr, nullptr, nullptr) {}
  bool on_command(int code, int id, HWND control) override {
    commands.push_back({code, id, control != nullptr, IsWindow(menu) != FALSE});
    return true;
  }
  struct command {
    int code, id;
    bool from_control, menu_open;
  };
  std::vector<command> commands;
  HWND menu = nullptr;
};

class DefragMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    vemo::mapcfg skin(L"zq.ini");
    skin.load();
    vemo::read_dialog_items("_image_dlg_item", skin);
    ASSERT_NE(owner.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, nullptr),
              nullptr);
  }
  void TearDown() override { vemo::free_dialog_items(); }

  command_owner owner;
};

void click_child(const vemo::window& child) {
  RECT r{};
  GetWindowRect(child.handle(), &r);
  move_cursor_to((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  press_left();
  release_left();
}

TEST_F(DefragMenu, ButtonsSendTheirCommandsToTheOwnerThenClose) {
  struct button_case {
    size_t button;
    int command;  // 0: none sent
  };
  for (const auto& c : {button_case{0, 0}, button_case{1, defrag_plain_command},
                        button_case{2, defrag_optimized_command}}) {
    SCOPED_TRACE(c.button);
    owner.commands.clear();
    scripted_dialog<defrag_menu_t> menu;
    bool closed = false;
    menu.run_with(
        [&](defrag_menu_t& m, HWND hwnd) {
          owner.menu = hwnd;
          click_child(*m.children()[c.button]);
          closed = m.handle() == nullptr;
        },
        &owner);
    EXPECT_TRUE(closed);
    if (c.command == 0) {
      EXPECT_TRUE(owner.commands.empty());
      continue;
    }
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0].code, c.command);
    EXPECT_EQ(owner.commands[0].id, 0);
    EXPECT_FALSE(owner.commands[0].from_control);
    EXPECT_TRUE(owner.commands[0].menu_open);  // sent before the menu ends
  }
}

TEST_F(DefragMenu, CommandsFromOtherSendersAreNotHandled) {
  scripted_dialog<defrag_menu_t> menu;
  std::vector<INT_PTR> answers;
  bool running = false;
  menu.run_with(
      [&](defrag_menu_t&, HWND hwnd) {
        // A key's command (no sender), then another window with a button's id.
        answers.push_back(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0));
        answers.push_back(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(1, 0),
                                       reinterpret_cast<LPARAM>(owner.handle())));
        running = IsWindow(hwnd) && menu.handle() == hwnd;
      },
      &owner);
  EXPECT_EQ(answers, (std::vector<INT_PTR>{0, 0}));
  EXPECT_TRUE(running);
  EXPECT_TRUE(owner.commands.empty());
}

TEST_F(DefragMenu, RangeWithFewerThanThreeButtonsStillWorks) {
  struct range_case {
    unsigned last;
    size_t children;
  };
  for (const auto& c : {range_case{20, 1}, range_case{21, 2}, range_case{19, 0}}) {
    SCOPED_TRACE(c.last);
    scripted_dialog<defrag_menu_t> menu(defrag_menu_first_item, c.last);
    ASSERT_EQ(menu.children().size(), c.children);
    INT_PTR unrelated = -1;
    bool closed = c.children == 0;
    menu.run_with(
        [&](defrag_menu_t& m, HWND hwnd) {
          unrelated = SendMessageW(hwnd, WM_COMMAND, 0, 0);
          if (!m.children().empty()) {
            click_child(*m.children()[0]);
            closed = m.handle() == nullptr;
          }
        },
        &owner);
    EXPECT_EQ(unrelated, 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(owner.commands.empty());
  }
}

// Each handle a menu made: the background's and every button image's memory
// device context and bitmap.
std::vector<HGDIOBJ> gdi_objects_of(const vemo::image_dlg& menu) {
  std::vector<HGDIOBJ> objects = {menu.background().dc(), menu.background().bitmap()};
  for (const auto& child : menu.children()) {
    const auto* button = dynamic_cast<const vemo::push_button*>(child.get());
    if (!button) continue;
    for (int state = 0; state < 4; ++state)
      if (const vemo::mem_bitmap* image = button->image(state))
        objects.insert(objects.end(), {image->dc(), image->bitmap()});
  }
  return objects;
}

TEST_F(DefragMenu, TwoHundredUsesLeaveNoGdiObjectBehind) {
  for (int use = 0; use < 200; ++use) {
    std::vector<HGDIOBJ> objects;
    {
      scripted_dialog<defrag_menu_t> menu;
      menu.run_with([&](defrag_menu_t& m, HWND) { click_child(*m.children()[0]); }, &owner);
      objects = gdi_objects_of(menu);
    }
    // Checked before the next menu can reuse a freed handle value.
    ASSERT_EQ(objects.size(), 2u + 3u * 3u * 2u) << "use " << use;
    for (HGDIOBJ object : objects)
      ASSERT_EQ(GetObjectType(object), 0u) << "use " << use << ", handle " << object;
  }
}

TEST_F(DefragMenu, ScreenshotOverTheSampleSkin) {
  scripted_dialog<defrag_menu_t> menu;
  bool saved = false;
  COLORREF corner = 0, inside = 0;
  menu.run_with(
      [&](defrag_menu_t&, HWND hwnd) {
        saved = save_screenshot(hwnd, L"defrag_menu.png");
        inside = client_pixel(hwnd, 130, 40);
        corner = client_pixel(hwnd, 0, 0);
      },
      &owner);
  EXPECT_TRUE(saved);
  EXPECT_NE(corner, inside);  // the rounded corner shows what lies behind
}

}  // namespace
}  // namespace tessarel::testing
