// Skinned dialogs built from generated dialog items and bitmaps: size,
// region, children and centring; links, dragging, odd item ranges; the about
// box.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "scripted_dialog.h"
#include "toolkit_test_support.h"
#include "vemo/about_dlg.h"
#include "vemo/address_opener.h"
#include "vemo/dialog_items.h"
#include "vemo/image_dlg.h"
#include "vemo/push_button.h"
#include "vemo/settings.h"

namespace vemo::testing {
namespace {

constexpr COLORREF back_colour = RGB(0x20, 0x60, 0xA0);

std::string plain_bmp(int width, int height, COLORREF colour) {
  return bmp_file(width, height, [=](int, int) { return colour; });
}

class recording_opener : public vemo::address_opener {
 public:
  recording_opener() : previous_(vemo::install_address_opener(this)) {}
  ~recording_opener() override { vemo::install_address_opener(previous_); }
  void open(const std::wstring& address) override { opened.push_back(address); }
  std::vector<std::wstring> opened;

 private:
  vemo::address_opener* previous_;
};

RECT client_rect_of(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT window_rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

void click_at(HWND hwnd, int x, int y) {
  const POINT at = client_to_screen(hwnd, x, y);
  move_cursor_to(at.x, at.y);
  press_left();
  release_left();
}

void expect_centred(HWND hwnd, int width, int height) {
  const RECT r = window_rect(hwnd);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

class SkinnedDialog : public ::testing::Test {
 protected:
  void TearDown() override { vemo::free_dialog_items(); }

  // The dialog items of the given values, through a settings file.
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
};

TEST_F(SkinnedDialog, SizeRegionChildrenAndCentring) {
  struct corner_case {
    const char* corners;
    bool rounded;
  };
  for (const auto& c : {corner_case{"20 20", true}, corner_case{"0 0", false},
                        corner_case{"20 0", false}}) {
    SCOPED_TRACE(c.corners);
    read_items({std::string("shap_ib dlg_back.bmp ") + c.corners,
                "push_button_wib 10 12 dlg_a.bmp NULL NULL NULL",
                "push_button_wib 50 60 dlg_b.bmp dlg_a.bmp NULL NULL",
                "push_button_wib 150 5 missing.bmp NULL NULL NULL"});
    scripted_dialog<vemo::image_dlg> dlg(0u, 3u);
    std::vector<RECT> placed;
    int region_type = -1;
    bool corner_inside = true, centre_inside = false;
    COLORREF shown = 0;
    dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
      expect_centred(hwnd, 200, 120);
      const vemo::gdi_object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
      region_type = GetWindowRgn(hwnd, region.get());
      corner_inside = PtInRegion(region.get(), 0, 0);
      centre_inside = PtInRegion(region.get(), 100, 60);
      for (const auto& child : d.children()) placed.push_back(client_rect_of(child->handle()));
      shown = client_pixel(hwnd, 100, 100);
    });

    EXPECT_EQ(region_type != ERROR, c.rounded);
    if (c.rounded) {
      EXPECT_FALSE(corner_inside);
      EXPECT_TRUE(centre_inside);
    }
    EXPECT_EQ(shown, back_colour);
    ASSERT_EQ(dlg.children().size(), 3u);
    for (int k = 0; k < 3; ++k) {
      auto* button = dynamic_cast<vemo::push_button*>(dlg.children()[k].get());
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->control_id(), k);
      EXPECT_EQ(button->notification_code(), 0);
    }
    ASSERT_EQ(placed.size(), 3u);
    const RECT expected[] = {{10, 12, 40, 32}, {50, 60, 90, 84}, {150, 5, 150, 5}};
    for (int k = 0; k < 3; ++k) {
      EXPECT_TRUE(EqualRect(&placed[k], &expected[k])) << "child " << k;
      const auto& item = static_cast<vemo::window_ib&>(*vemo::dialog_items[k + 1]);
      EXPECT_EQ(item.right, expected[k].right) << "item " << k + 1;
      EXPECT_EQ(item.bottom, expected[k].bottom) << "item " << k + 1;
    }
    vemo::free_dialog_items();
  }
}

TEST_F(SkinnedDialog, LinkRectanglesAreTheirTextsExtent) {
  read_items({"shap_ib dlg_back.bmp 0 0"});
  const std::wstring saved = vemo::home_page_address();
  vemo::set_home_page_address(L"https://home.example/");
  vemo::image_dlg dlg(0, 0);
  dlg.set_home_link(L"home page", POINT{24, 57});
  vemo::set_home_page_address(saved);

  const vemo::text_link& home = dlg.home_link();
  EXPECT_EQ(home.url, L"https://home.example/");
  EXPECT_EQ(home.text, L"home page");
  EXPECT_EQ(home.rect.left, 24);
  EXPECT_EQ(home.rect.top, 57);
  EXPECT_GT(home.rect.right, 24 + 9);  // nine characters of a fixed font
  EXPECT_GT(home.rect.bottom, 57);
  // A link never set is never hit.
  EXPECT_TRUE(IsRectEmpty(&dlg.other_link().rect));
  EXPECT_EQ(dlg.other_link().rect.left, 0);
}

TEST_F(SkinnedDialog, LinkClicksOpenTheirAddressesAndOtherClicksDrag) {
  read_items({"shap_ib dlg_back.bmp 20 20"});
  recording_opener opener;
  const std::wstring saved = vemo::home_page_address();
  vemo::set_home_page_address(L"https://home.example/");
  scripted_dialog<vemo::image_dlg> dlg(0u, 0u);
  dlg.set_home_link(L"home", POINT{10, 10});
  dlg.set_link(L"mailto:someone@home.example", L"mail", POINT{10, 40});
  vemo::set_home_page_address(saved);

  bool dragged_on_link = true;
  RECT before{}, after{}, after_release{};
  bool dragging_after_release = true;
  dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
    click_at(hwnd, 12, 14);
    click_at(hwnd, 12, 44);
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

  EXPECT_EQ(opener.opened, (std::vector<std::wstring>{L"https://home.example/",
                                                      L"mailto:someone@home.example"}));
  EXPECT_FALSE(dragged_on_link);
  EXPECT_EQ(after.left - before.left, 20);
  EXPECT_EQ(after.top - before.top, 15);
  EXPECT_FALSE(dragging_after_release);
  EXPECT_TRUE(EqualRect(&after, &after_release));
}

TEST_F(SkinnedDialog, LinkWithoutAddressDoesNothing) {
  read_items({"shap_ib dlg_back.bmp 0 0"});
  recording_opener opener;
  scripted_dialog<vemo::image_dlg> dlg(0u, 0u);
  dlg.set_link(L"", L"nowhere", POINT{10, 40});
  bool dragging = true;
  RECT before{}, after{};
  dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
    before = window_rect(hwnd);
    const POINT on_link = client_to_screen(hwnd, 12, 44);
    move_cursor_to(on_link.x, on_link.y);
    press_left();
    dragging = d.dragging();
    move_cursor_to(on_link.x + 10, on_link.y + 10);
    release_left();
    after = window_rect(hwnd);
  });
  EXPECT_TRUE(opener.opened.empty());
  EXPECT_FALSE(dragging);
  EXPECT_TRUE(EqualRect(&before, &after));
}

// A modal dialog of 0 x 0 would be invisible and keep its owner disabled.
TEST_F(SkinnedDialog, BackgroundThatDoesNotLoadKeepsTheTemplatesSize) {
  read_items({"shap_ib no_such_file.bmp 20 20", "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL"});
  scripted_dialog<vemo::image_dlg> dlg(0u, 1u);
  RECT template_size{0, 0, 440, 250};
  int region_type = 0;
  bool button_shown = false;
  dlg.run_with([&](vemo::image_dlg& d, HWND hwnd) {
    MapDialogRect(hwnd, &template_size);
    expect_centred(hwnd, template_size.right, template_size.bottom);
    const vemo::gdi_object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    region_type = GetWindowRgn(hwnd, region.get());
    button_shown = IsWindowVisible(d.children()[0]->handle()) != FALSE;
  });
  EXPECT_GT(template_size.right, 200);
  EXPECT_EQ(region_type, ERROR);
  EXPECT_TRUE(button_shown);
}

TEST_F(SkinnedDialog, ItemRangesThatDoNotFitGiveNoChildInsteadOfABadRead) {
  struct range_case {
    const char* what;
    std::vector<std::string> items;
    unsigned first, last;
    std::vector<bool> windows;  // per child: whether it got a window
  };
  const std::string button = "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL";
  const std::string shape = "shap_ib dlg_back.bmp 0 0";
  const range_case cases[] = {
      {"range past the end", {shape, button}, 0, 9, {true}},
      {"child item is a shape", {button, shape, button}, 0, 2, {false, true}},
      {"range outside the list", {shape, button}, 7, 9, {}},
      {"largest range", {shape, button}, 0, ~0u, {true}},
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
    vemo::free_dialog_items();
  }
}

TEST_F(SkinnedDialog, EditItemGivesAnEditBoxAtItsRectangle) {
  read_items({"shap_ib dlg_back.bmp 0 0", "edit_wib 5 6 85 26"});
  scripted_dialog<vemo::image_dlg> dlg(0u, 1u);
  RECT placed{};
  wchar_t class_name[16] = {};
  dlg.run_with([&](vemo::image_dlg& d, HWND) {
    placed = client_rect_of(d.children()[0]->handle());
    GetClassNameW(d.children()[0]->handle(), class_name, 16);
  });
  const RECT expected{5, 6, 85, 26};
  EXPECT_TRUE(EqualRect(&placed, &expected));
  EXPECT_STREQ(class_name, L"Edit");
}

TEST_F(SkinnedDialog, CloseAllDeletesTheChildrenAndEndsTheDialog) {
  read_items({"shap_ib dlg_back.bmp 0 0", "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL"});
  scripted_dialog<vemo::image_dlg> dlg(0u, 1u);
  INT_PTR answer = 0;
  bool ended = false;
  dlg.run_with([&](vemo::image_dlg& d, HWND) {
    answer = d.close_all();
    ended = d.handle() == nullptr;
  });
  EXPECT_EQ(answer, 1);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(dlg.children().empty());
}

TEST_F(SkinnedDialog, AboutBoxClosesOnControlZeroOnly) {
  read_items({"shap_ib dlg_back.bmp 20 20", "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL"});
  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  std::vector<INT_PTR> answers;
  bool running_after_other_ids = false, ended = false;
  about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
    for (int id : {1, 2, 10001}) answers.push_back(SendMessageW(hwnd, WM_COMMAND, id, 0));
    running_after_other_ids = d.handle() == hwnd;
    answers.push_back(d.on_command(0, 0, nullptr));
    ended = d.handle() == nullptr;
  });
  EXPECT_EQ(answers, (std::vector<INT_PTR>{0, 0, 0, 1}));
  EXPECT_TRUE(running_after_other_ids);
  EXPECT_TRUE(ended);
}

// The main window keeps one about box and runs it each time it is asked for.
TEST_F(SkinnedDialog, SameAboutBoxRunsAgainAndAgain) {
  read_items({"shap_ib dlg_back.bmp 20 20", "push_button_wib 10 10 dlg_a.bmp NULL NULL NULL"});
  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  ASSERT_EQ(about.children().size(), 1u);
  const vemo::window* button = about.children()[0].get();
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(run);
    bool button_up = false, closed_by_click = false;
    about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
      button_up = IsWindowVisible(d.children()[0]->handle()) != 0;
      click_at(hwnd, 20, 15);
      closed_by_click = d.handle() == nullptr;
    });
    EXPECT_TRUE(button_up);
    EXPECT_TRUE(closed_by_click);
    ASSERT_EQ(about.children().size(), 1u);
    EXPECT_EQ(about.children()[0].get(), button);
    EXPECT_EQ(button->handle(), nullptr);
  }
}

}  // namespace
}  // namespace vemo::testing
