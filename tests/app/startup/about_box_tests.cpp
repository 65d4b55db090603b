// The about box over the sample skin with the program's two links, as the
// main window sets them up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "menu/scripted_dialog.h"
#include "startup/program_texts.h"
#include "vemo/about_dlg.h"
#include "vemo/address_opener.h"
#include "vemo/dialog_items.h"
#include "vemo/settings.h"

namespace tessarel::testing {
namespace {

class recording_opener : public vemo::address_opener {
 public:
  recording_opener() : previous_(vemo::install_address_opener(this)) {}
  ~recording_opener() override { vemo::install_address_opener(previous_); }
  void open(const std::wstring& address) override { opened.push_back(address); }
  std::vector<std::wstring> opened;

 private:
  vemo::address_opener* previous_;
};

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    vemo::mapcfg skin(L"zq.ini");
    skin.load();
    vemo::read_dialog_items("_image_dlg_item", skin);
    kept_address = vemo::home_page_address();
    vemo::set_home_page_address(home_page_url);
  }
  void TearDown() override {
    vemo::free_dialog_items();
    vemo::set_home_page_address(kept_address);
  }
  std::wstring kept_address;
};

TEST_F(AboutBox, LinksOpenTheProgramsAddressesAndTheScreenshotIsSaved) {
  const std::wstring mail_address = std::wstring(support_mail_url).substr(7);  // after "mailto:"
  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  about.set_home_link(std::wstring(L"  网站 : ") + home_page_url, POINT{24, 157});
  about.set_link(support_mail_url, L"联系我们:" + mail_address, POINT{24, 180});

  recording_opener opener;
  bool saved = false;
  about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
    saved = save_screenshot(hwnd, L"about_box.png");
    for (const vemo::text_link* link : {&d.home_link(), &d.other_link()}) {
      const POINT at = client_to_screen(hwnd, link->rect.left + 4, link->rect.top + 4);
      move_cursor_to(at.x, at.y);
      press_left();
      release_left();
    }
  });
  EXPECT_TRUE(saved);
  EXPECT_EQ(opener.opened, (std::vector<std::wstring>{home_page_url, support_mail_url}));
}

}  // namespace
}  // namespace tessarel::testing
