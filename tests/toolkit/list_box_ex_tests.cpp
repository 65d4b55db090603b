// The frame around a system list box: what reaches its parent, and the list
// box following its size.
#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit_test_support.h"
#include "vemo/list_box_ex.h"

namespace vemo::testing {
namespace {

class ListBoxEx : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{200, 200, 500, 400}, nullptr, nullptr),
              nullptr);
    ASSERT_NE(create_child_window(list, parent, WS_CHILD | WS_VISIBLE), nullptr);
    MoveWindow(list.handle(), 0, 0, 170, 120, TRUE);
    for (const wchar_t* item : {L"first", L"second", L"third"})
      SendMessageW(inner(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    item_height = static_cast<int>(SendMessageW(inner(), LB_GETITEMHEIGHT, 0, 0));
  }
  HWND inner() { return list.list().handle(); }

  recording_parent parent;
  list_box_ex list;
  int item_height = 0;
};

// A real click selects an item; other notifications must not reach the
// parent.
TEST_F(ListBoxEx, OnlyASelectionChangeTellsTheParent) {
  const POINT p = client_to_screen(inner(), 30, item_height + item_height / 2);
  move_cursor_to(p.x, p.y);
  press_left();
  release_left();
  EXPECT_EQ(SendMessageW(inner(), LB_GETCURSEL, 0, 0), 1);
  ASSERT_EQ(parent.commands.size(), 1u);
  EXPECT_EQ(parent.commands[0].code, 1);
  EXPECT_EQ(parent.commands[0].id, 0);
  EXPECT_EQ(parent.commands[0].control, list.handle());

  for (int code : {LBN_SELCANCEL, LBN_KILLFOCUS, LBN_DBLCLK})
    SendMessageW(list.handle(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(inner()));
  EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(ListBoxEx, TheListBoxFillsTheClientAreaAfterEveryResize) {
  for (const SIZE size : {SIZE{90, 60}, SIZE{240, 150}}) {
    MoveWindow(list.handle(), 0, 0, size.cx, size.cy, TRUE);
    RECT rect{};
    GetWindowRect(inner(), &rect);
    const POINT origin = client_to_screen(list.handle(), 0, 0);
    EXPECT_EQ(rect.left, origin.x);
    EXPECT_EQ(rect.top, origin.y);
    EXPECT_EQ(rect.right - rect.left, size.cx);
    // The list box shows whole items only and drops the rest of the height.
    EXPECT_EQ(rect.bottom - rect.top, size.cy - size.cy % item_height);
  }
}

}  // namespace
}  // namespace vemo::testing
