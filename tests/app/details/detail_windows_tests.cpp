// The detail list and the block item window in real windows: names listed,
// full lines handed back, the popup sized to its longest line, the cross that
// hides it, and a screenshot of a long path broken into lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 520, 260}, nullptr, nullptr),
              nullptr);
    ASSERT_NE(vemo::create_child_window(list, parent, WS_CHILD | WS_VISIBLE), nullptr);
    SendMessageW(list.list().handle(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    MoveWindow(list.handle(), 10, 10, 108, 208, TRUE);
    ASSERT_NE(vemo::create_child_window(item, parent, WS_CHILD | WS_VISIBLE), nullptr);
  }

  std::wstring listed(int index) {
    wchar_t text[256] = {};
    SendMessageW(list.list().handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }

  // Gives the popup lines and places it at (130, 10) in its preferred size.
  SIZE show_item(lines text) {
    item.set_lines(std::move(text));
    const SIZE size = item.preferred_size();
    MoveWindow(item.handle(), 130, 10, size.cx, size.cy, TRUE);
    ShowWindow(item.handle(), SW_SHOW);
    InvalidateRect(item.handle(), nullptr, TRUE);
    UpdateWindow(item.handle());
    return size;
  }

  vemo::frame parent{unique_class_name(L"details_parent"),
                     CS_HREDRAW | CS_VREDRAW,
                     nullptr,
                     nullptr,
                     nullptr,
                     nullptr};
  block_detail_list list;
  block_item_wnd item;
};

// Catches the full line shown instead of its name, lines of an earlier block
// left in the list, and a selection read without a current line.
TEST_F(DetailWindows, TheListShowsNamesAndHandsBackTheSelectedFullLine) {
  list.set_lines({L"old\\one", L"old\\two", L"old\\three"});
  const detail_source source{detail_kind::volume_files, L'C', 7, 5};
  list.set_lines({L"C:\\a\\b.txt", L"no separator", long_path}, source);
  ASSERT_EQ(SendMessageW(list.list().handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(listed(0), L"b.txt");
  EXPECT_EQ(listed(1), L"no separator");
  EXPECT_EQ(listed(2), L"the final document with a long name.txt");

  EXPECT_FALSE(list.selected_line().has_value());

  SendMessageW(list.list().handle(), LB_SETCURSEL, 2, 0);
  const auto line = list.selected_line();
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->text, long_path);
  EXPECT_EQ(line->position, 2);
  EXPECT_EQ(line->source.kind, detail_kind::volume_files);
  EXPECT_EQ(line->source.block, 7);
  EXPECT_EQ(line->source.saved_code, 5);

  list.set_lines({});
  EXPECT_EQ(SendMessageW(list.list().handle(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(list.selected_line().has_value());
}

// Catches the width taken from the first line instead of the longest, and a
// height that leaves the last line cut.
TEST_F(DetailWindows, ThePopupIsSizedToItsLongestLine) {
  const lines text{L"ab", L"abcdefghij", L"abcd"};
  const SIZE size = show_item(text);

  HDC screen = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(screen, GetStockObject(ANSI_FIXED_FONT));
  SIZE longest{};
  GetTextExtentPoint32W(screen, text[1].c_str(), static_cast<int>(text[1].size()), &longest);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);

  EXPECT_EQ(size.cx, longest.cx + 8);
  EXPECT_EQ(size.cy, 3 * (longest.cy + 4) + 4);

  // The background below the last line and the cross at its centre.
  EXPECT_EQ(client_pixel(item.handle(), size.cx - 2, size.cy - 2), RGB(238, 248, 174));
  EXPECT_EQ(client_pixel(item.handle(), size.cx - 8, 6), RGB(255, 255, 255));
}

// Catches a cross that hides on its right or bottom edge, or not on its left
// or top edge (the rectangle excludes those two edges).
TEST_F(DetailWindows, OnlyAClickInsideTheCrossHidesThePopup) {
  MoveWindow(item.handle(), 130, 10, 200, 200, TRUE);
  const struct {
    int x, y;
    bool hides;
  } clicks[] = {
      {187, 1, true},  {187, 5, true},   {190, 1, true},    {196, 10, true},
      {197, 5, false}, {190, 11, false}, {100, 100, false}, {186, 5, false},
  };
  for (const auto& click : clicks) {
    ShowWindow(item.handle(), SW_SHOW);
    SendMessageW(item.handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(click.x, click.y));
    EXPECT_EQ(IsWindowVisible(item.handle()) == FALSE, click.hides) << click.x << "," << click.y;
  }
}

TEST_F(DetailWindows, ScreenshotOfALongPathBrokenIntoLines) {
  list.set_lines({L"C:\\a\\b.txt", long_path, L"C:\\windows\\system32\\kernel32.dll"},
                 {detail_kind::volume_files, L'C', 3, 5});
  SendMessageW(list.list().handle(), LB_SETCURSEL, 1, 0);
  lines text;
  const FileExtentInfo info{7, 0, 3, 10000};
  format_file_info(text, list.selected_line()->text, &info, 5);
  ASSERT_GT(text.size(), 5u);  // the path takes more than one line
  show_item(text);
  pump_messages();
  EXPECT_TRUE(save_screenshot(parent.handle(), L"block_details.png"));
}

}  // namespace
}  // namespace tessarel::testing
