// The owner-drawn check list: clicks per band, scrolling, the rows'
// painting and its check boxes, and who hears of a toggle.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit_test_support.h"
#include "vemo/check_glf.h"

namespace vemo::testing {
namespace {

constexpr COLORREF image_colour = RGB(220, 0, 0), unchecked_colour = RGB(0, 160, 0),
                   checked_colour = RGB(0, 0, 200), black = RGB(0, 0, 0);
constexpr int row_height = 20;

std::wstring missing_file() { return test_folder() + L"\\missing.bmp"; }

class CheckList : public ::testing::Test {
 protected:
  CheckList()
      : image_(L"check_list_image.bmp", bmp_file(10, 16, [](int, int) { return image_colour; })),
        unchecked_(L"check_list_unchecked.bmp",
                   bmp_file(16, 16, [](int, int) { return unchecked_colour; })),
        checked_(L"check_list_checked.bmp",
                 bmp_file(16, 16, [](int, int) { return checked_colour; })) {}

  void build(const std::wstring& unchecked_file, const std::wstring& checked_file) {
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{200, 200, 500, 400}, nullptr, nullptr),
              nullptr);
    list = std::make_unique<check_glf>(unchecked_file, checked_file);
    ASSERT_NE(create_child_window(*list, parent, WS_CHILD | WS_VISIBLE | WS_VSCROLL), nullptr);
    MoveWindow(list->handle(), 0, 0, 220, 160, TRUE);
  }
  void build() { build(unchecked_.path(), checked_.path()); }
  void add_rows(int count) {
    for (int i = 0; i < count; ++i) list->add_row({L"row " + std::to_wstring(i)});
  }

  void TearDown() override {
    list.reset();
    pump_messages();
  }

  std::vector<int> checked() const {
    std::vector<int> values;
    for (const list_row& row : list->rows()) values.push_back(row.checked);
    return values;
  }
  void send(UINT message, WPARAM wparam) { SendMessageW(list->handle(), message, wparam, 0); }
  void scroll_to(int position) { send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position)); }
  // The first column at or right of x = 20 with a black pixel in a row's band.
  int first_text_column(int band) {
    for (int x = 20; x < 120; ++x)
      for (int y = band * row_height; y < (band + 1) * row_height; ++y)
        if (client_pixel(list->handle(), x, y) == black) return x;
    return -1;
  }

  scoped_file image_, unchecked_, checked_;
  recording_parent parent;
  std::unique_ptr<check_glf> list;
};

// Catches a wrong band-to-row mapping (header band, scrolled lists, clicks
// below the rows) and a missing or repeated notification.
TEST_F(CheckList, AClickTogglesTheRowOfItsBandAndTellsTheParentOnce) {
  struct click {
    int position, y, toggled;
  };
  const click table[] = {{0, 10, -1}, {0, 25, 0},  {0, 45, 1},  {0, 79, 2}, {0, 85, -1},
                         {2, 25, 2},  {2, 45, -1}, {3, 25, -1}, {4, 25, -1}};
  build();
  add_rows(3);
  for (const auto& c : table) {
    SCOPED_TRACE("position " + std::to_string(c.position) + ", y " + std::to_string(c.y));
    scroll_to(c.position);
    std::vector<int> expected = checked();
    const int current = list->current_row();
    const size_t commands = parent.commands.size();
    if (c.toggled >= 0) expected[static_cast<size_t>(c.toggled)] ^= 1;

    const POINT p = client_to_screen(list->handle(), 150, c.y);
    move_cursor_to(p.x, p.y);
    press_left();
    release_left();

    EXPECT_EQ(checked(), expected);
    EXPECT_EQ(list->current_row(), c.toggled >= 0 ? c.toggled : current);
    ASSERT_EQ(parent.commands.size(), commands + (c.toggled >= 0 ? 1 : 0));
    if (c.toggled < 0) continue;
    EXPECT_EQ(parent.commands.back().code, 1);
    EXPECT_EQ(parent.commands.back().id, 0);
    EXPECT_EQ(parent.commands.back().control, list->handle());
  }
}

// Catches a wheel that moves by the delta's size, steps past either end,
// and page or end requests that move the list.
TEST_F(CheckList, TheWheelAndTheLineAndThumbRequestsMoveThePosition) {
  struct step {
    int start;
    UINT message;
    int argument, expected;
  };
  const auto wheel = [](int delta) { return MAKEWPARAM(0, static_cast<WORD>(delta)); };
  const step table[] = {{2, WM_MOUSEWHEEL, 360, 1},
                        {2, WM_MOUSEWHEEL, -360, 3},
                        {2, WM_MOUSEWHEEL, 0, 3},
                        {0, WM_MOUSEWHEEL, 120, 0},
                        {4, WM_MOUSEWHEEL, -120, 4},
                        {2, WM_VSCROLL, SB_LINEUP, 1},
                        {2, WM_VSCROLL, SB_LINEDOWN, 3},
                        {0, WM_VSCROLL, SB_LINEUP, 0},
                        {4, WM_VSCROLL, SB_LINEDOWN, 4},
                        {2, WM_VSCROLL, SB_PAGEUP, 2},
                        {2, WM_VSCROLL, SB_PAGEDOWN, 2},
                        {2, WM_VSCROLL, SB_TOP, 2},
                        {2, WM_VSCROLL, SB_BOTTOM, 2},
                        {0, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 3},
                        {2, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 1}};
  build();
  add_rows(3);
  for (const auto& s : table) {
    scroll_to(s.start);
    send(s.message, s.message == WM_MOUSEWHEEL ? wheel(s.argument) : s.argument);
    EXPECT_EQ(list->scroll_position(), s.expected)
        << "from " << s.start << ", message " << s.message << ", " << s.argument;
    EXPECT_EQ(GetScrollPos(list->handle(), SB_VERT), s.expected);
  }
}

TEST_F(CheckList, TheRangeFollowsTheRowsAndClearingResetsItButKeepsTheCurrentRow) {
  build();
  add_rows(2);
  list->add_image_row({L"pictured"}, {image_.path()});
  int low = -1, high = -1;
  GetScrollRange(list->handle(), SB_VERT, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 4);
  EXPECT_EQ(list->scroll_maximum(), 4);

  SendMessageW(list->handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 45));
  scroll_to(2);
  const mem_bitmap& image = *list->rows().back().images[0];
  const HGDIOBJ image_objects[] = {image.dc(), image.bitmap()};

  list->clear();
  EXPECT_TRUE(list->rows().empty());
  EXPECT_EQ(list->scroll_position(), 0);
  EXPECT_EQ(list->scroll_maximum(), 0);
  GetScrollRange(list->handle(), SB_VERT, &low, &high);
  EXPECT_EQ(high, 1);
  EXPECT_EQ(list->current_row(), 1);
  for (HGDIOBJ object : image_objects) EXPECT_EQ(GetObjectType(object), 0u);
}

// Catches an image that is not drawn or does not push its text aside, a
// failed image that still takes room, and boxes or images in empty rows.
TEST_F(CheckList, ImagesComeBeforeTheirTextsAndRowsWithoutTextsStayEmpty) {
  build();
  list->add_image_row({L"HH"}, {image_.path()});
  list->add_image_row({L"HH"}, {missing_file()});
  list->add_image_row({}, {image_.path()});
  list->add_image_row({L"HH", L"HH"}, {image_.path(), image_.path()});
  SendMessageW(list->handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 85));

  const HWND h = list->handle();
  EXPECT_TRUE(save_screenshot(h, L"check_glf.png"));
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(client_pixel(h, 100, 10), background);  // header band
  EXPECT_EQ(client_pixel(h, 25, 28), image_colour);
  const int pictured = first_text_column(1), plain = first_text_column(2);
  EXPECT_GE(plain, 20);
  EXPECT_LT(plain, 24);
  EXPECT_EQ(pictured - plain, 10);
  EXPECT_EQ(client_pixel(h, 25, 68), background);
  EXPECT_EQ(client_pixel(h, 10, 70), background);
  EXPECT_EQ(client_pixel(h, 25, 88), image_colour);

  // The boxes of the rows with texts.
  EXPECT_EQ(client_pixel(h, 10, 30), unchecked_colour);
  EXPECT_EQ(client_pixel(h, 10, 50), unchecked_colour);
  EXPECT_EQ(client_pixel(h, 10, 90), checked_colour);
}

// Without both images a box is an outline, with a tick when checked.
TEST_F(CheckList, BoxesAreDrawnWhenAnImageIsMissing) {
  build(missing_file(), checked_.path());
  add_rows(2);
  SendMessageW(list->handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 45));
  const HWND h = list->handle();
  const COLORREF white = RGB(255, 255, 255);
  for (int band : {1, 2}) {
    const int y = band * row_height;
    EXPECT_EQ(client_pixel(h, 2, y + 6), black) << band;    // the outline's left side
    EXPECT_EQ(client_pixel(h, 12, y + 10), white) << band;  // inside, off the tick
    EXPECT_EQ(client_pixel(h, 6, y + 14), band == 2 ? black : white) << band;  // the tick
  }
}

std::vector<std::pair<WPARAM, LPARAM>> foreign_commands;

LRESULT CALLBACK foreign_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) foreign_commands.emplace_back(wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(CheckListParent, AForeignParentIsToldAndAListWithoutParentTellsNobody) {
  const std::wstring class_name = unique_class_name(L"foreign");
  WNDCLASSW wc{};
  wc.lpfnWndProc = foreign_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = class_name.c_str();
  ASSERT_NE(RegisterClassW(&wc), 0);
  const HWND foreign = CreateWindowExW(0, class_name.c_str(), L"", WS_POPUP, 0, 0, 100, 100,
                                       nullptr, nullptr, wc.hInstance, nullptr);
  hwnd_helper foreign_parent(foreign);
  for (window* parent : {static_cast<window*>(&foreign_parent), static_cast<window*>(nullptr)}) {
    check_glf list(L"", L"");
    list.add_row({L"only"});
    list.create(L"", parent ? WS_CHILD : WS_POPUP, RECT{0, 0, 100, 100}, parent, nullptr);
    ASSERT_NE(list.handle(), nullptr);
    SendMessageW(list.handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 25));
    EXPECT_EQ(list.rows().front().checked, 1);
    ASSERT_EQ(foreign_commands.size(), 1u);
    EXPECT_EQ(foreign_commands[0].first, MAKEWPARAM(0, 1));
    if (parent) {
      EXPECT_EQ(foreign_commands[0].second, reinterpret_cast<LPARAM>(list.handle()));
    }
  }
  DestroyWindow(foreign);
  UnregisterClassW(class_name.c_str(), wc.hInstance);
}

// A list that counts its paints.
class counting_list : public check_glf {
 public:
  counting_list() : check_glf(L"", L"") {}
  void on_paint(HDC dc, PAINTSTRUCT& paint) override {
    ++paints;
    check_glf::on_paint(dc, paint);
  }
  int paints = 0;
};

// A parent that, told of a click, notes whether the list had painted it and
// then does what the case says with the list.
class handling_parent : public vemo::frame {
 public:
  enum action { keep, destroy_window, delete_list };
  handling_parent(action what, std::unique_ptr<counting_list>& list)
      : frame(unique_class_name(L"handling_parent"), 0, nullptr, nullptr, nullptr, nullptr),
        what_(what),
        list_(list) {}
  bool on_command(int, int, HWND) override {
    painted_before_told = list_->paints > paints_before_click;
    if (what_ == destroy_window) DestroyWindow(list_->handle());
    if (what_ == delete_list) list_.reset();
    return true;
  }
  int paints_before_click = 0;
  bool painted_before_told = false;

 private:
  action what_;
  std::unique_ptr<counting_list>& list_;
};

// Catches a list that tells its parent before it repaints: the parent that
// destroys the list's window leaves it repainting through a null handle
// (which invalidates every window on the screen), and one that deletes the
// list leaves it running on a freed object.
TEST(CheckListParent, TheListHasRepaintedBeforeItsParentHearsOfTheClick) {
  for (const auto what :
       {handling_parent::keep, handling_parent::destroy_window, handling_parent::delete_list}) {
    SCOPED_TRACE(what);
    std::unique_ptr<counting_list> list = std::make_unique<counting_list>();
    handling_parent parent(what, list);
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200}, nullptr, nullptr),
              nullptr);
    vemo::frame witness(unique_class_name(L"witness"), 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(witness.create(L"", WS_POPUP | WS_VISIBLE, RECT{300, 0, 400, 100}, nullptr, nullptr),
              nullptr);
    list->add_row({L"only"});
    ASSERT_NE(create_child_window(*list, parent, WS_CHILD | WS_VISIBLE), nullptr);
    MoveWindow(list->handle(), 0, 0, 200, 200, TRUE);
    pump_messages();
    parent.paints_before_click = list->paints;
    ValidateRect(witness.handle(), nullptr);

    SendMessageW(list->handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 25));
    EXPECT_TRUE(parent.painted_before_told);
    EXPECT_FALSE(GetUpdateRect(witness.handle(), nullptr, FALSE));
    EXPECT_EQ(list == nullptr, what == handling_parent::delete_list);
    if (list) {
      EXPECT_EQ(list->rows().front().checked, 1);
    }
  }
}

}  // namespace
}  // namespace vemo::testing
