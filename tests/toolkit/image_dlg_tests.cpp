// Skinned dialogs from generated dialog items and bitmaps.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui_test_support/scripted_dialog.h"
#include "toolkit_test_support.h"
#include "vemo/about_dlg.h"
#include "vemo/dialog_items.h"
#include "vemo/push_button.h"
#include "vemo/settings.h"

namespace vemo::testing {
namespace {

constexpr COLORREF back_colour = RGB(0x20, 0x60, 0xA0);

std::string plain_bmp(int width, int height, COLORREF colour) {
  return bmp_file(width, height, [=](int, int) { return colour; });
}

RECT window_rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

void expect_centred(HWND hwnd, int width, int height) {
  const RECT r = window_rect(hwnd);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

class SkinnedDialog : public ::testing::Test {
 protected:
  void TearDown() override { vemo::free_dialog_items(); }

  void read_items(const std::vector<std::string>& values) {
    std::string lines;
    for (const auto& value : values) lines += "_image_dlg_item " + value + "\r\n";
    const scoped_file file(L"image_dlg_test.ini", lines);
    vemo::mapcfg items(file.name());
    items.load();
    vemo::read_dialog_items("_image_dlg_item", items);
  }

  scoped_file background{L"dlg_back.bmp", plain_bmp(200, 120, back_colour)};
  scoped_file face_a{L"dlg_a.bmp", plain_bmp(30, 20, RGB(0xC0, 0x20, 0x20))};
  scoped_file face_b{L"dlg_b.bmp", plain_bmp(40, 24, RGB(0x20, 0xC0, 0x20))};
  const std::string button = "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL";
};

TEST_F(SkinnedDialog, SizeRegionChildrenAndCentring) {
  for (const auto& [corners, rounded] : {std::pair{"20 20", true}, std::pair{"0 0", false},
                                         std::pair{"20 0", false}}) {
    SCOPED_TRACE(corners);
    read_items({std::string("shap_ib dlg_back.bmp ") + corners,
                "push_button_wib 10 12 dlg_a.bmp NULL NULL NULL",
                "push_button_wib 50 60 dlg_b.bmp dlg_a.bmp NULL NULL",
                "push_button_wib 150 5 missing.bmp NULL NULL NULL"});
    scripted_dialog<vemo::image_dlg> dlg(0u, 3u);
    std::vector<RECT> placed;
    int region_type = ERROR;
    bool corner_in = true, centre_in = false;
    COLORREF shown = 0;
    dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
      expect_centred(hwnd, 200, 120);
      const vemo::gdi_object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
      region_type = GetWindowRgn(hwnd, region.get());
      corner_in = PtInRegion(region.get(), 0, 0);
      centre_in = PtInRegion(region.get(), 100, 60);
      for (const auto& child : d.children()) {
        RECT r = window_rect(child->handle());
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        placed.push_back(r);
      }
      shown = client_pixel(hwnd, 100, 100);
    });
    EXPECT_EQ(region_type != ERROR, rounded);
    EXPECT_TRUE(!rounded || (!corner_in && centre_in));
    EXPECT_EQ(shown, back_colour);

    // Each button at its item's corner in its image 0's size (none: empty).
    const RECT expected[] = {{10, 12, 40, 32}, {50, 60, 90, 84}, {150, 5, 150, 5}};
    ASSERT_EQ(placed.size(), 3u);
    for (int k = 0; k < 3; ++k) {
      EXPECT_TRUE(EqualRect(&placed[k], &expected[k])) << "child " << k;
      EXPECT_EQ(static_cast<vemo::push_button&>(*dlg.children()[k]).control_id(), k);
      const auto& item = static_cast<vemo::window_ib&>(*vemo::dialog_items[k + 1]);
      EXPECT_EQ(item.right, expected[k].right);
      EXPECT_EQ(item.bottom, expected[k].bottom);
    }
  }
}

TEST_F(SkinnedDialog, LinkClickOpensItsAddressAndAClickElsewhereDrags) {
  read_items({"shap_ib dlg_back.bmp 20 20"});
  recording_opener opener;
  const std::wstring kept = vemo::home_page_address();
  vemo::set_home_page_address(L"https://home.example/");
  scripted_dialog<vemo::image_dlg> dlg(0u, 0u);
  dlg.set_home_link(L"home page", POINT{10, 10});
  dlg.set_link(L"", L"no address", POINT{10, 40});
  vemo::set_home_page_address(kept);
  const RECT& home = dlg.home_link().rect;
  EXPECT_TRUE(home.left == 10 && home.top == 10 && home.right > 19 && home.bottom > 10);

  bool dragged_on_link = true, dragging_after_release = true;
  RECT before{}, after{}, after_release{};
  dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
    click_at(hwnd, 12, 14);
    click_at(hwnd, 12, 44);  // a link without an address neither opens nor drags
    dragged_on_link = d.dragging();

    before = window_rect(hwnd);
    const POINT start = client_to_screen(hwnd, 150, 90);
    move_cursor_to(start.x, start.y);
    press_left();
    move_cursor_to(start.x + 20, start.y + 15);
    after = window_rect(hwnd);
    release_left();
    dragging_after_release = d.dragging();
    move_cursor_to(start.x + 30, start.y + 30);
    after_release = window_rect(hwnd);
  });
  EXPECT_EQ(opener.opened, std::vector<std::wstring>{L"https://home.example/"});
  EXPECT_FALSE(dragged_on_link);
  EXPECT_EQ(after.left - before.left, 20);
  EXPECT_EQ(after.top - before.top, 15);
  EXPECT_FALSE(dragging_after_release);
  EXPECT_TRUE(EqualRect(&after, &after_release));
}

// Catches children numbered or placed by counting: an edit box that takes a
// button's id, children sharing a window id, a child whose window id is one
// the dialog loop sends for a key (Esc would come as IDCANCEL with that
// child's handle), and a child placed at the rectangle of the item after its
// own when an item of the range makes no child (a second shape, or an
// unknown keyword that moved the items up).
TEST_F(SkinnedDialog, EachChildHasADistinctIdAndStandsAtItsOwnItem) {
  const std::string shape = "shap_ib dlg_back.bmp 0 0";
  struct child {
    int notify_id;  // a button's; -1 for an edit box
    RECT at;        // dialog client coordinates
  };
  struct id_case {
    const char* what;
    std::vector<std::string> items;
    unsigned first, last;
    std::vector<child> children;
  };
  const id_case cases[] = {
      {"edit boxes between buttons",
       {shape, "edit_wib 5 6 85 26", "push_button_wib 10 40 dlg_a.bmp NULL NULL NULL",
        "edit_wib 5 70 85 90", "push_button_wib 100 40 dlg_b.bmp NULL NULL NULL"},
       0,
       4,
       {{-1, {5, 6, 85, 26}}, {0, {10, 40, 40, 60}}, {-1, {5, 70, 85, 90}}, {1, {100, 40, 140, 64}}}},
      {"a second shape inside the range",
       {shape, "push_button_wib 10 40 dlg_a.bmp NULL NULL NULL", shape,
        "push_button_wib 100 40 dlg_b.bmp NULL NULL NULL"},
       0,
       3,
       {{0, {10, 40, 40, 60}}, {1, {100, 40, 140, 64}}}},
      {"a mistyped keyword before the range",
       {shape, "push_button_wib 1 1 dlg_a.bmp NULL NULL NULL", "edt_wib 0 0 0 0", shape,
        "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL",
        "push_button_wib 50 60 dlg_b.bmp NULL NULL NULL",
        "push_button_wib 120 60 dlg_b.bmp NULL NULL NULL"},
       3,
       6,
       {{0, {10, 10, 40, 30}}, {1, {50, 60, 90, 84}}, {2, {120, 60, 160, 84}}}},
  };
  int shot = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    read_items(c.items);
    scripted_dialog<vemo::image_dlg> dlg(c.first, c.last);
    std::vector<int> ids;
    std::vector<RECT> placed;
    std::vector<int> key_ids_with_child;
    dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
      for (int key_id = IDOK; key_id <= IDCONTINUE; ++key_id)
        if (GetDlgItem(hwnd, key_id)) key_ids_with_child.push_back(key_id);
      save_screenshot(hwnd, L"image_dlg_children_" + std::to_wstring(++shot) + L".png");
      for (const auto& w : d.children()) {
        ids.push_back(IsWindow(w->handle()) ? GetDlgCtrlID(w->handle()) : -1);
        RECT r = window_rect(w->handle());
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        placed.push_back(r);
      }
    });
    EXPECT_EQ(key_ids_with_child, std::vector<int>{});
    ASSERT_EQ(ids.size(), c.children.size());
    for (size_t k = 0; k < ids.size(); ++k) {
      EXPECT_NE(ids[k], -1) << "child " << k;
      EXPECT_EQ(std::count(ids.begin(), ids.end(), ids[k]), 1) << "child " << k;
      EXPECT_TRUE(EqualRect(&placed[k], &c.children[k].at)) << "child " << k;
      auto* b = dynamic_cast<vemo::push_button*>(dlg.children()[k].get());
      EXPECT_EQ(b ? b->control_id() : -1, c.children[k].notify_id) << "child " << k;
    }
  }
}

// A modal dialog of 0 x 0 would be invisible and keep its owner disabled.
TEST_F(SkinnedDialog, BackgroundThatDoesNotLoadKeepsTheTemplatesSize) {
  read_items({"shap_ib no_such_file.bmp 20 20", button});
  scripted_dialog<vemo::image_dlg> dlg(0u, 1u);
  RECT template_size{0, 0, 440, 250};
  int region_type = 0;
  dlg.run_with([&](vemo::image_dlg&, HWND hwnd) {
    MapDialogRect(hwnd, &template_size);
    expect_centred(hwnd, template_size.right, template_size.bottom);
    const vemo::gdi_object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    region_type = GetWindowRgn(hwnd, region.get());
  });
  EXPECT_GT(template_size.right, 200);
  EXPECT_EQ(region_type, ERROR);
}

TEST_F(SkinnedDialog, ItemRangesThatDoNotFitLeaveTheChildOut) {
  const std::string shape = "shap_ib dlg_back.bmp 0 0";
  struct range_case {
    const char* what;
    std::vector<std::string> items;
    unsigned first, last;
    std::vector<bool> windows;  // per child: whether it got a window
  };
  const range_case cases[] = {
      {"range past the end", {shape, button}, 0, 9, {true}},
      {"largest range", {shape, button}, 0, ~0u, {true}},
      {"range outside the list", {shape, button}, 7, 9, {}},
      {"range starting at a button", {button, shape, button}, 0, 2, {true, true}},
      {"edit item", {shape, "edit_wib 5 6 85 26"}, 0, 1, {true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    read_items(c.items);
    scripted_dialog<vemo::image_dlg> dlg(c.first, c.last);
    std::vector<bool> windows;
    bool visible = false;
    dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
      for (const auto& child : d.children()) windows.push_back(IsWindow(child->handle()) != 0);
      const RECT r = window_rect(hwnd);
      visible = IsWindowVisible(hwnd) && r.right > r.left && r.bottom > r.top;
    });
    EXPECT_EQ(windows, c.windows);
    EXPECT_TRUE(visible);
  }
}

TEST_F(SkinnedDialog, AboutBoxClosesOnControlZeroOnly) {
  read_items({"shap_ib dlg_back.bmp 20 20", button});
  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  std::vector<INT_PTR> answers;
  bool running_after_other_ids = false, ended = false;
  about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
    for (int id : {1, 2, 10001}) answers.push_back(d.on_command(0, id, nullptr));
    running_after_other_ids = d.handle() == hwnd;
    SendMessageW(hwnd, WM_COMMAND, 0, 0);
    ended = d.handle() == nullptr;
  });
  EXPECT_EQ(answers, (std::vector<INT_PTR>{0, 0, 0}));
  EXPECT_TRUE(running_after_other_ids);
  EXPECT_TRUE(ended);
}

// The main window keeps one about box and runs it each time it is asked for.
TEST_F(SkinnedDialog, SameAboutBoxRunsAgainAndAgain) {
  read_items({"shap_ib dlg_back.bmp 20 20", button});
  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  const vemo::window* close = about.children().at(0).get();
  for (int run = 0; run < 3; ++run) {
    bool shown = false, closed_by_click = false;
    about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
      shown = IsWindowVisible(d.children()[0]->handle()) != 0;
      click_at(hwnd, 20, 15);
      closed_by_click = d.handle() == nullptr;
    });
    EXPECT_TRUE(shown && closed_by_click) << "run " << run;
    EXPECT_EQ(about.children().at(0).get(), close);
  }
}

}  // namespace
}  // namespace vemo::testing
