// The detail list and the block item window in real windows: names listed,
// full lines handed back, the popup sized to its longest line, the cross that
// hides it, and a screenshot of a long path broken into lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "details/block_detail_list.h"
#include "details/block_item_wnd.h"
#include "details/file_info_lines.h"
#include "gui_test_support/gui_test_support.h"

namespace tessarel::testing {
namespace {

using lines = std::vector<std::wstring>;

const std::wstring long_path =
    L"C:\\Program Files\\Tessarel Sample Data\\A Rather Long Folder Name\\"
    L"reports of the year\\the final document with a long name.txt";

class DetailWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 520, 260}, nullptr, nullptr));
    ASSERT_TRUE(vemo::create_child_window(list, parent, WS_CHILD | WS_VISIBLE));
    ASSERT_TRUE(vemo::create_child_window(item, parent, WS_CHILD | WS_VISIBLE));
    SendMessageW(box(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 1);
    MoveWindow(list.handle(), 10, 10, 108, 208, TRUE);
  }
  HWND box() { return list.list().handle(); }
  std::wstring listed(int index) {
    wchar_t text[256] = {};
    SendMessageW(box(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Gives the popup lines and shows it at (130, 10) in its preferred size.
  SIZE show_item(lines text) {
    item.set_lines(std::move(text));
    const SIZE size = item.preferred_size();
    MoveWindow(item.handle(), 130, 10, size.cx, size.cy, TRUE);
    ShowWindow(item.handle(), SW_SHOW);
    UpdateWindow(item.handle());
    return size;
  }

  vemo::frame parent{unique_class_name(L"details_parent"), 0, nullptr, nullptr, nullptr, nullptr};
  block_detail_list list;
  block_item_wnd item;
};

// Catches the full line listed instead of its name, an earlier block's lines
// left behind, and a line read without a current one (LB_ERR).
TEST_F(DetailWindows, TheListShowsNamesAndHandsBackTheSelectedFullLine) {
  list.set_lines({L"old\\one", L"old\\two", L"old\\three", L"old\\four"});
  list.set_lines({L"C:\\a\\b.txt", L"no separator", long_path},
                 {detail_kind::volume_files, 0, 7, 5});
  ASSERT_EQ(SendMessageW(box(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(listed(0), L"b.txt");
  EXPECT_EQ(listed(1), L"no separator");
  EXPECT_FALSE(list.selected_line().has_value());

  SendMessageW(box(), LB_SETCURSEL, 2, 0);
  const auto line = list.selected_line();
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->text, long_path);
  EXPECT_EQ(line->position, 2);
  EXPECT_EQ(line->source.block, 7);

  list.set_lines({});
  EXPECT_EQ(SendMessageW(box(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(list.selected_line().has_value());
}

// Catches a width from the first line instead of the longest, a height that
// cuts a line, and a cross that hides on its right or bottom edge (the
// rectangle excludes them) or not inside.
TEST_F(DetailWindows, ThePopupFitsItsLongestLineAndItsCrossHidesIt) {
  const SIZE one = show_item({L"abcdefghij"});
  const SIZE size = show_item({L"ab", L"abcdefghij", L"abcd"});
  EXPECT_EQ(size.cx, one.cx);
  EXPECT_EQ(size.cy, 3 * (one.cy - 4) + 4);
  EXPECT_EQ(client_pixel(item.handle(), size.cx - 2, size.cy - 2), RGB(238, 248, 174));
  EXPECT_EQ(client_pixel(item.handle(), size.cx - 8, 6), RGB(255, 255, 255));

  MoveWindow(item.handle(), 130, 10, 200, 200, TRUE);  // the cross: (187, 1) to (197, 11)
  for (const auto& [x, y, hides] : {std::tuple{187, 1, true},
                                    {196, 10, true},
                                    {197, 5, false},
                                    {190, 11, false},
                                    {100, 100, false}}) {
    ShowWindow(item.handle(), SW_SHOW);
    SendMessageW(item.handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
    EXPECT_EQ(!IsWindowVisible(item.handle()), hides) << x << "," << y;
  }
}

TEST_F(DetailWindows, ScreenshotOfALongPathBrokenIntoLines) {
  list.set_lines({L"C:\\a\\b.txt", long_path, L"C:\\windows\\system32\\kernel32.dll"});
  SendMessageW(box(), LB_SETCURSEL, 1, 0);
  lines text;
  const FileExtentInfo info{7, 0, 3, 10000};
  format_file_info(text, list.selected_line()->text, &info, 5);
  ASSERT_EQ(text.size(), 6u);  // the path takes three lines
  show_item(text);
  pump_messages();
  EXPECT_TRUE(save_screenshot(parent.handle(), L"block_details.png"));
}

}  // namespace
}  // namespace tessarel::testing
