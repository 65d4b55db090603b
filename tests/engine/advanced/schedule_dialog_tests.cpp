// The schedule dialog with its volume list, driven with real messages under
// the test display. The fixed drives are C, D and E, as a volume seam that
// knows only drive types says.

#include "advanced/schedule_dialog.h"
#include "resources/schedule_dialog_ids.h"

#include "dialog_driver.h"
#include "advanced/fixed_drives_io.h"
#include "message_recorder.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace dravik::testing {
namespace {


const wchar_t* const dialog_title = L"Tessarel清单";

HWND volume_list(HWND dialog) { return GetDlgItem(dialog, IDC_SCHEDULE_VOLUMES); }

HWND select_all_box(HWND dialog) {
  return GetDlgItem(ListView_GetHeader(volume_list(dialog)), IDC_SCHEDULE_SELECT_ALL);
}

std::wstring item_text(HWND list, int item, int sub_item) {
  wchar_t buffer[256] = {};
  LVITEMW data{};
  data.iSubItem = sub_item;
  data.pszText = buffer;
  data.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data));
  return buffer;
}

// The check boxes of the items, as the list shows them: "101" for the first
// and last checked.
std::string checks(HWND dialog) {
  std::string marks;
  const HWND list = volume_list(dialog);
  for (int item = 0; item < ListView_GetItemCount(list); ++item)
    marks += ListView_GetCheckState(list, item) ? '1' : '0';
  return marks;
}

void set_check(HWND dialog, int item, bool checked) {
  ListView_SetCheckState(volume_list(dialog), item, checked ? TRUE : FALSE);
}

bool select_all_checked(HWND dialog) {
  return SendMessageW(select_all_box(dialog), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Presses and releases the select-all box as a click does.
void click_select_all(HWND dialog) { SendMessageW(select_all_box(dialog), BM_CLICK, 0, 0); }

class ScheduleDialog : public ::testing::Test {
 protected:
  // Shows a schedule dialog with these steps and, like the advanced dialog,
  // takes its letters into owner when it ends with OK; returns its end code.
  INT_PTR run(std::vector<dialog_driver::step> steps) {
    dravik::ScheduleDlg dialog([](char letter) { return std::string(1, letter) + "0.5 GB"; });
    dialog_driver driver(dialog_title, std::move(steps));
    const INT_PTR result = dialog.DoModal();
    steps_run = driver.steps_run();
    if (result == IDOK) owner.schedule_letters = dialog.chosen_letters;
    return result;
  }

  // Stands for the advanced dialog that receives the letters.
  struct {
    std::string schedule_letters;
  } owner;

  fixed_drives_io drives{"CDE"};
  message_recorder messages;
  std::size_t steps_run = 0;
};

TEST_F(ScheduleDialog, ListsEveryFixedDriveWithItsSize) {
  run({[](HWND dialog) {
    const HWND list = volume_list(dialog);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    const wchar_t* const letters[] = {L"C", L"D", L"E"};
    for (int item = 0; item < 3; ++item) {
      EXPECT_EQ(item_text(list, item, 0), letters[item]);
      EXPECT_EQ(item_text(list, item, 1), std::wstring(letters[item]) + L"0.5 GB");
    }
    wchar_t heading[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading;
    column.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::wstring(heading), L"   分卷");
    EXPECT_EQ(column.cx, 120);
    SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::wstring(heading), L"大小");
    EXPECT_EQ(column.cx, 100);
    EXPECT_EQ(ListView_GetExtendedListViewStyle(list) & 0x25u, 0x25u);

    // The select-all box sits in the header of the first column.
    ASSERT_NE(select_all_box(dialog), nullptr);
    EXPECT_FALSE(select_all_checked(dialog));
    EXPECT_EQ(checks(dialog), "000");
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps_run, 1u);
}

// The header box checks and unchecks all items, and follows the items when
// they are checked one by one.
TEST_F(ScheduleDialog, HeaderBoxAndItemsStayInStep) {
  run({[](HWND dialog) {
    click_select_all(dialog);
    EXPECT_EQ(checks(dialog), "111");
    EXPECT_TRUE(select_all_checked(dialog));

    set_check(dialog, 1, false);
    EXPECT_EQ(checks(dialog), "101");
    EXPECT_FALSE(select_all_checked(dialog));

    set_check(dialog, 1, true);
    EXPECT_EQ(checks(dialog), "111");
    EXPECT_TRUE(select_all_checked(dialog));

    click_select_all(dialog);
    EXPECT_EQ(checks(dialog), "000");
    EXPECT_FALSE(select_all_checked(dialog));

    // Two of three checked, then the box: all three.
    set_check(dialog, 0, true);
    set_check(dialog, 2, true);
    EXPECT_FALSE(select_all_checked(dialog));
    click_select_all(dialog);
    EXPECT_EQ(checks(dialog), "111");
    EXPECT_TRUE(select_all_checked(dialog));
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps_run, 1u);
}

// The second press of a double click on the box is ignored: otherwise its
// release would flip the box's mark back while the items stay checked.
TEST_F(ScheduleDialog, DoubleClickOnTheHeaderBoxCountsOnce) {
  run({[](HWND dialog) {
    const HWND box = select_all_box(dialog);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(box, WM_LBUTTONUP, 0, 0);
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageW(box, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(checks(dialog), "111");
    EXPECT_TRUE(select_all_checked(dialog));
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps_run, 1u);
}

TEST_F(ScheduleDialog, OkWithNothingCheckedAsksForAVolumeAndStays) {
  owner.schedule_letters = "C";
  const INT_PTR result = run({
      [](HWND dialog) { click(dialog, IDOK); },
      [](HWND dialog) {
        // Checked and unchecked again: nothing is checked.
        set_check(dialog, 0, true);
        set_check(dialog, 0, false);
        click(dialog, IDOK);
      },
      [](HWND dialog) { click(dialog, IDCANCEL); },
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(steps_run, 3u);
  EXPECT_EQ(messages.texts, (std::vector<std::string>{"请选择分卷.", "请选择分卷."}));
  EXPECT_EQ(owner.schedule_letters, "C");
}

// The letters come in list order whatever the order of checking, and
// replace the owner's previous ones.
TEST_F(ScheduleDialog, OkHandsTheCheckedLettersToTheOwner) {
  owner.schedule_letters = "CDE";
  const INT_PTR result = run({[](HWND dialog) {
    set_check(dialog, 2, true);
    set_check(dialog, 1, true);
    click(dialog, IDOK);
  }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(owner.schedule_letters, "DE");
  EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
}  // namespace dravik::testing
