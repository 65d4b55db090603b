// The modal loop of the class library's dialog, with the options template.

#include "classlib/dialog.h"
#include "resources/filter_dialog_ids.h"

#include "dialog_driver.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace dravik::testing {
namespace {


const wchar_t* const dialog_title = L"Tessarel选项";

// The base behaviour: no key filter of its own.
class plain_dialog : public CDialog {
 public:
  plain_dialog() : CDialog(IDD_FILTER) {}
  std::string text;
  int check = 0;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, IDC_FILTER_FOLDERS, text);
    DDX_Check(dx, IDC_FILTER_AUTO_RUN, check);
  }
};

// Without a filter the dialog manager gets Escape and cancels: so keys the
// driver posts do reach the dialog, and a dialog that filters them is seen
// to do so.
TEST(ModalDialog, EscapeReachesTheDialogManager) {
  plain_dialog dialog;
  dialog_driver driver(dialog_title, {[](HWND window) {
                         PostMessageW(GetDlgItem(window, IDC_FILTER_FOLDERS), WM_KEYDOWN, VK_ESCAPE, 0);
                       }});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(driver.steps_run(), 1u);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// OK takes the controls into the members, Cancel does not; Chinese text
// arrives as code page 936 bytes.
TEST(ModalDialog, OkExchangesDataAndCancelDoesNot) {
  plain_dialog dialog;
  dialog.text = "before";
  {
    dialog_driver driver(dialog_title, {[](HWND window) {
                           EXPECT_EQ(text_of(window, IDC_FILTER_FOLDERS), L"before");
                           set_text(window, IDC_FILTER_FOLDERS, L"磁盘");
                           click(window, IDC_FILTER_AUTO_RUN);
                           click(window, IDCANCEL);
                         }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(dialog.text, "before");
  EXPECT_EQ(dialog.check, 0);
  {
    dialog_driver driver(dialog_title, {[](HWND window) {
                           set_text(window, IDC_FILTER_FOLDERS, L"磁盘");
                           click(window, IDC_FILTER_AUTO_RUN);
                           click(window, IDOK);
                         }});
    EXPECT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_EQ(dialog.text, "\xB4\xC5\xC5\xCC");
  EXPECT_EQ(dialog.check, 1);
}

// The active window owns the dialog and takes no input while it is shown.
TEST(ModalDialog, OwnerIsDisabledWhileShownAndEnabledAfter) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  SetActiveWindow(owner);
  ASSERT_EQ(GetActiveWindow(), owner);
  plain_dialog dialog;
  dialog_driver driver(dialog_title, {[owner](HWND window) {
                         EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
                         EXPECT_FALSE(IsWindowEnabled(owner));
                         click(window, IDCANCEL);
                       }});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(driver.steps_run(), 1u);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

// A quit request that arrives while the dialog is up ends the dialog and is
// left for the thread's own loop.
TEST(ModalDialog, QuitEndsTheDialogAndStaysQueued) {
  plain_dialog dialog;
  dialog_driver driver(dialog_title, {[](HWND) { PostQuitMessage(7); }});
  EXPECT_EQ(dialog.DoModal(), -1);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(ModalDialog, MissingTemplateShowsNothing) {
  class missing : public CDialog {
   public:
    missing() : CDialog(9999) {}
  } dialog;
  EXPECT_EQ(dialog.DoModal(), -1);
}

}  // namespace
}  // namespace dravik::testing
