// The defragmentation menu over the sample skin: what its buttons send the
// main window, short ranges, and that a menu built for every use leaves no
// GDI object behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "menu/defrag_menu.h"
#include "gui_test_support/scripted_dialog.h"
#include "vemo/dialog_items.h"
#include "vemo/frame.h"
#include "vemo/push_button.h"
#include "vemo/settings.h"

namespace tessarel::testing {
namespace {



// Stands in for the main window: records each command's code and whether the
// menu was still open when it arrived.
class command_owner : public vemo::frame {
 public:
  command_owner()
      : frame(unique_class_name(L"menu_owner"), 0, nullptr, nullptr, nullptr, nullptr) {}
  bool on_command(int code, int id, HWND control) override {
    if (id == 0 && !control) commands.push_back({code, IsWindow(menu) != FALSE});
    return true;
  }
  std::vector<std::pair<int, bool>> commands;
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

  // Clicks child k of a running menu; true when that ended the menu.
  static bool click_child(defrag_menu_t& menu, size_t k) {
    RECT r{};
    GetWindowRect(menu.children()[k]->handle(), &r);
    move_cursor_to((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    press_left();
    release_left();
    return pump_until([&] { return menu.handle() == nullptr; }, 2000);
  }

  command_owner owner;
};

TEST_F(DefragMenu, ButtonsSendTheirCommandsWhileOpenThenClose) {
  const std::pair<size_t, std::vector<std::pair<int, bool>>> cases[] = {
      {0, {}}, {1, {{defrag_plain_command, true}}}, {2, {{defrag_optimized_command, true}}}};
  for (const auto& [button, expected] : cases) {
    owner.commands.clear();
    scripted_dialog<defrag_menu_t> menu;
    bool closed = false;
    menu.run_with([&](defrag_menu_t& m, HWND hwnd) {
      owner.menu = hwnd;
      // Not handled: another window's command.
      SendMessageW(hwnd, WM_COMMAND, 1, reinterpret_cast<LPARAM>(owner.handle()));
      EXPECT_EQ(m.handle(), hwnd);
      closed = click_child(m, button);
    }, &owner);
    EXPECT_TRUE(closed) << "button " << button;
    EXPECT_EQ(owner.commands, expected) << "button " << button;
  }
}

// Keys as a user presses them, handled by the menu's own loop: Enter starts
// nothing and the menu stays; Esc closes it as its close button does and
// starts nothing. Catches buttons whose window ids are the keys' commands
// (Esc came as IDCANCEL with the optimised button's handle and started an
// optimised defragmentation, Enter as IDOK with the plain one's).
TEST_F(DefragMenu, EnterStartsNothingEscClosesTheMenu) {
  scripted_dialog<defrag_menu_t> menu;
  bool foreground = false, open_after_enter = false, open_after_esc = false;
  menu.run_steps({[&](defrag_menu_t&, HWND hwnd) {
                    owner.menu = hwnd;
                    foreground = GetForegroundWindow() == hwnd;
                    if (foreground) press_key(VK_RETURN);
                  },
                  [&](defrag_menu_t& m, HWND hwnd) {
                    open_after_enter = m.handle() == hwnd;
                    EXPECT_EQ(owner.commands.size(), 0u) << "after Enter";
                    press_key(VK_ESCAPE);
                  },
                  [&](defrag_menu_t&, HWND) { open_after_esc = true; }},
                 &owner);
  ASSERT_TRUE(foreground) << "the keys would go to another window";
  EXPECT_TRUE(open_after_enter);
  EXPECT_FALSE(open_after_esc);
  EXPECT_EQ(owner.commands.size(), 0u);
}

TEST_F(DefragMenu, RangeWithFewerThanThreeButtons) {
  for (const auto& [last, children] :
       {std::pair{20u, 1u}, std::pair{21u, 2u}, std::pair{19u, 0u}}) {
    scripted_dialog<defrag_menu_t> menu(defrag_menu_first_item, last);
    ASSERT_EQ(menu.children().size(), children);
    bool closed = children == 0;
    menu.run_with([&](defrag_menu_t& m, HWND hwnd) {
      SendMessageW(hwnd, WM_COMMAND, 0, 0);  // no sender: not a missing button's
      EXPECT_EQ(m.handle(), hwnd);
      if (children > 0) closed = click_child(m, 0);
    }, &owner);
    EXPECT_TRUE(closed) << "last item " << last;
    EXPECT_TRUE(owner.commands.empty());
  }
}

// Wine's GetGuiResources counts nothing: the handles each menu made (memory
// device contexts and bitmaps of the background and of every button image)
// must be gone once it is, checked before the next menu can reuse them.
TEST_F(DefragMenu, TwoHundredUsesLeaveNoGdiObjectBehind) {
  for (int use = 0; use < 200; ++use) {
    std::vector<HGDIOBJ> made;
    {
      scripted_dialog<defrag_menu_t> menu;
      menu.run_with([&](defrag_menu_t& m, HWND) { click_child(m, 0); }, &owner);
      made = {menu.background().dc(), menu.background().bitmap()};
      for (const auto& child : menu.children())
        for (int state = 0; state < 4; ++state)
          if (auto* image = static_cast<vemo::push_button&>(*child).image(state))
            made.insert(made.end(), {image->dc(), image->bitmap()});
    }
    ASSERT_EQ(made.size(), 2u + 3u * 3u * 2u);
    for (HGDIOBJ object : made) ASSERT_EQ(GetObjectType(object), 0u) << "use " << use;
  }
}

TEST_F(DefragMenu, Screenshot) {
  scripted_dialog<defrag_menu_t> menu;
  bool saved = false;
  menu.run_with([&](defrag_menu_t&, HWND hwnd) {
    saved = save_screenshot(hwnd, L"defrag_menu.png");
  }, &owner);
  EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace tessarel::testing
