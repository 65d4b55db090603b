// The volume check list over the sample skin and a made-up set of drives:
// its rows, what a job takes from it, and which drive is current.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "vemo/frame.h"
#include "vemo/settings.h"
#include "volumes/disk_drive_list.h"
#include "volumes/fake_drives.h"

namespace tessarel::testing {
namespace {

// Stands in for the main window: counts the list's notifications.
class list_parent : public vemo::frame {
 public:
  list_parent() : frame(unique_class_name(L"list_parent"), 0, nullptr, nullptr, nullptr, nullptr) {}
  bool on_command(int code, int id, HWND control) override {
    if (code == 1 && id == 0) notifications.push_back(control);
    return true;
  }
  std::vector<HWND> notifications;
};

// The list as the main window makes it: 108 x 125 at (37, 78), filled once.
class DiskDriveList : public ::testing::Test {
 protected:
  void SetUp() override { vemo::open_settings(L"zq.ini"); }
  void TearDown() override { vemo::close_settings(); }

  void make_list(std::map<wchar_t, UINT> drive_set = mixed_drives()) {
    drives.reset();  // puts its predecessor back first
    drives = std::make_unique<fake_drives>(std::move(drive_set));
    ASSERT_NE(parent.create(L"", WS_POPUP | WS_VISIBLE, RECT{100, 100, 284, 330}, nullptr,
                            nullptr),
              nullptr);
    list = std::make_unique<disk_drive_list>();
    ASSERT_NE(vemo::create_child_window(*list, parent, WS_CHILD | WS_VISIBLE | WS_VSCROLL),
              nullptr);
    MoveWindow(list->handle(), 37, 78, 108, 125, TRUE);
    list->fill();
  }

  // A click in the band of a row (row 0 in band 1, below the header band).
  void click_row(int row) {
    SendMessageW(list->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, (row + 1) * 20 + 5));
  }

  std::vector<std::vector<std::wstring>> texts() const {
    std::vector<std::vector<std::wstring>> all;
    for (const vemo::list_row& row : list->rows()) all.push_back(row.texts);
    return all;
  }

  std::unique_ptr<fake_drives> drives;
  list_parent parent;
  std::unique_ptr<disk_drive_list> list;
};

TEST_F(DiskDriveList, RegistryRowThenOneRowPerFixedDriveWithItsImage) {
  make_list();
  list->fill();  // filled again: nothing doubles
  EXPECT_EQ(texts(), (std::vector<std::vector<std::wstring>>{{L"Registry"}, {L"C:"}, {L"E:"}}));
  EXPECT_EQ(list->letters(), (std::vector<wchar_t>{L'C', L'E'}));
  for (const vemo::list_row& row : list->rows()) {
    ASSERT_EQ(row.images.size(), 1u);
    EXPECT_NE(row.images[0]->dc(), nullptr) << "the sample skin's image loads";
  }
}

// Catches letters taken in click order, the Registry row counted as a
// drive, or a toggle that does not notify the parent.
TEST_F(DiskDriveList, SelectionTakesCheckedRowsInRowOrder) {
  const struct {
    std::vector<int> clicks;
    volume_job expected;
  } cases[] = {
      {{}, {L"", 0, 0}},
      {{1, 0}, {L"C", 1, 0}},
      {{2, 1}, {L"CE", 0, 0}},
      {{1, 2, 1}, {L"E", 0, 0}},
  };
  for (const auto& c : cases) {
    make_list();
    for (int row : c.clicks) click_row(row);
    EXPECT_EQ(list->selection(), c.expected) << c.clicks.size() << " clicks";
    EXPECT_EQ(list->checked_letters(), c.expected.letters);
    EXPECT_EQ(parent.notifications, std::vector<HWND>(c.clicks.size(), list->handle()));
    parent.notifications.clear();
    list.reset();
    parent.destroy();
  }
}

// Catches the row index taken as the letter index (row 0 is the Registry
// row) and a letter given where there is none.
TEST_F(DiskDriveList, CurrentLetterFollowsTheCurrentRow) {
  make_list();
  EXPECT_EQ(list->current_letter(), L'C') << "no current row: the first fixed drive";
  click_row(2);
  EXPECT_EQ(list->current_letter(), L'E');
  click_row(0);
  EXPECT_EQ(list->current_letter(), L'\0') << "the Registry row has no letter";
  list.reset();
  parent.destroy();

  make_list({{L'A', DRIVE_REMOVABLE}});
  EXPECT_EQ(texts(), (std::vector<std::vector<std::wstring>>{{L"Registry"}}));
  EXPECT_EQ(list->current_letter(), L'\0');
}

// For a person to look at: the sample skin's check boxes, the Registry and
// volume images and the texts, at the size the main window gives the list.
TEST_F(DiskDriveList, Screenshot) {
  make_list({{L'C', DRIVE_FIXED}, {L'D', DRIVE_FIXED}, {L'E', DRIVE_FIXED}, {L'F', DRIVE_FIXED},
             {L'G', DRIVE_FIXED}, {L'H', DRIVE_FIXED}});
  click_row(0);
  click_row(2);
  EXPECT_TRUE(save_screenshot(parent.handle(), L"disk_drive_list.png"));
}

}  // namespace
}  // namespace tessarel::testing
