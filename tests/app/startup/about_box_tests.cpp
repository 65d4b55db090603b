// The about box over the sample skin with the program's two links, as the
// main window sets them up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "gui_test_support/scripted_dialog.h"
#include "startup/program_texts.h"
#include "vemo/about_dlg.h"
#include "vemo/dialog_items.h"
#include "vemo/settings.h"

namespace tessarel::testing {
namespace {

TEST(AboutBox, LinksOpenTheProgramsAddresses) {
  vemo::mapcfg skin(L"zq.ini");
  skin.load();
  vemo::read_dialog_items("_image_dlg_item", skin);
  const std::wstring kept = vemo::home_page_address();
  vemo::set_home_page_address(home_page_url);

  scripted_dialog<vemo::about_dlg> about(0u, 1u);
  about.set_home_link(std::wstring(L"  网站 : ") + home_page_url, POINT{24, 157});
  const std::wstring mail_address = std::wstring(support_mail_url).substr(7);  // no "mailto:"
  about.set_link(support_mail_url, L"联系我们:" + mail_address, POINT{24, 180});
  recording_opener opener;
  bool saved = false;
  about.run_with([&](vemo::about_dlg& d, HWND hwnd) {
    saved = save_screenshot(hwnd, L"about_box.png");
    for (const RECT* link : {&d.home_link().rect, &d.other_link().rect})
      click_at(hwnd, link->left + 4, link->top + 4);
  });
  vemo::set_home_page_address(kept);
  vemo::free_dialog_items();

  EXPECT_TRUE(saved);
  EXPECT_EQ(opener.opened, (std::vector<std::wstring>{home_page_url, support_mail_url}));
}

}  // namespace
}  // namespace tessarel::testing
