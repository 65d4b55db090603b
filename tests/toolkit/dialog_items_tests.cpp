// Reading the items of the skinned dialogs from the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>

#include "toolkit_test_support.h"
#include "vemo/dialog_items.h"
#include "vemo/settings.h"

namespace vemo::testing {
namespace {

std::unique_ptr<vemo::image_dlg_item_base> item_of(const wchar_t* value,
                                                   const vemo::cfgure& settings) {
  std::wistringstream in(value);
  return vemo::make_dialog_item(in, settings);
}

class DialogItems : public ::testing::Test {
 protected:
  void TearDown() override { vemo::free_dialog_items(); }

  // A settings file of the given lines, loaded.
  void load(const std::string& lines) {
    file = std::make_unique<scoped_file>(L"dialog_items_test.ini", lines);
    settings = std::make_unique<vemo::mapcfg>(file->name());
    settings->load();
  }

  std::wstring in_folder(const wchar_t* name) { return test_folder() + L"\\" + name; }

  vemo::mapcfg folder_only{L"unused.ini"};
  std::unique_ptr<scoped_file> file;
  std::unique_ptr<vemo::mapcfg> settings;
};

TEST_F(DialogItems, ShapeTakesAnAbsoluteFileAndItsCorners) {
  auto item = item_of(L" shap_ib back.bmp 20 12 ignored rest", folder_only);
  auto* shape = dynamic_cast<vemo::shape_ib*>(item.get());
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->bitmap_file, in_folder(L"back.bmp"));
  EXPECT_EQ(shape->corner_width, 20);
  EXPECT_EQ(shape->corner_height, 12);
}

TEST_F(DialogItems, ButtonImageNullMeansNoImage) {
  auto item = item_of(L"push_button_wib 10 11 a.bmp NULL c.bmp NULL", folder_only);
  auto* button = dynamic_cast<vemo::push_button_wib*>(item.get());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->left, 10);
  EXPECT_EQ(button->top, 11);
  // Filled in only when a dialog builds the button.
  EXPECT_EQ(button->right, 0);
  EXPECT_EQ(button->bottom, 0);
  EXPECT_EQ(button->image_files[0], in_folder(L"a.bmp"));
  EXPECT_EQ(button->image_files[1], L"");
  EXPECT_EQ(button->image_files[2], in_folder(L"c.bmp"));
  EXPECT_EQ(button->image_files[3], L"");
}

TEST_F(DialogItems, FieldsThatDoNotReadStayZeroOrEmpty) {
  struct field_case {
    const wchar_t* value;
    int left, top, right, bottom;
  };
  const field_case cases[] = {
      {L"edit_wib 1 2 3 4", 1, 2, 3, 4},
      {L"edit_wib 1 x 3 4", 1, 0, 0, 0},  // the fields after a bad one stay 0 too
      {L"edit_wib 5", 5, 0, 0, 0},
      {L"edit_wib", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    auto item = item_of(c.value, folder_only);
    auto* box = dynamic_cast<vemo::edit_wib*>(item.get());
    ASSERT_NE(box, nullptr) << c.value;
    EXPECT_EQ((std::vector<int>{box->left, box->top, box->right, box->bottom}),
              (std::vector<int>{c.left, c.top, c.right, c.bottom}))
        << c.value;
  }

  auto shape = item_of(L"shap_ib", folder_only);
  auto* bare = dynamic_cast<vemo::shape_ib*>(shape.get());
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->bitmap_file, L"");
  EXPECT_EQ(bare->corner_width, 0);
  auto button = item_of(L"push_button_wib 3 4", folder_only);
  auto* no_images = dynamic_cast<vemo::push_button_wib*>(button.get());
  ASSERT_NE(no_images, nullptr);
  EXPECT_EQ(no_images->image_files[0], L"");
}

TEST_F(DialogItems, OtherKeywordsMakeNoItem) {
  for (const wchar_t* value : {L"", L"   ", L"Shap_ib a.bmp 1 1", L"label 1 2", L"edit 1 2 3 4",
                               L"push_button 1 2 a b c d"})
    EXPECT_EQ(item_of(value, folder_only), nullptr) << value;
}

TEST_F(DialogItems, UnknownKeywordLeavesNoGap) {
  load("_image_dlg_item shap_ib back.bmp 20 20\r\n"
       "_image_dlg_item label 1 2\r\n"
       "other_key shap_ib x.bmp 1 1\r\n"
       "_image_dlg_item push_button_wib 10 10 a.bmp b.bmp c.bmp NULL\r\n");
  vemo::read_dialog_items("_image_dlg_item", *settings);
  ASSERT_EQ(vemo::dialog_items.size(), 2u);
  EXPECT_NE(dynamic_cast<vemo::shape_ib*>(vemo::dialog_items[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<vemo::push_button_wib*>(vemo::dialog_items[1].get()), nullptr);
}

TEST_F(DialogItems, ReadingAgainReplacesTheList) {
  load("_image_dlg_item edit_wib 1 1 2 2\r\n_image_dlg_item edit_wib 3 3 4 4\r\n");
  vemo::read_dialog_items("_image_dlg_item", *settings);
  vemo::read_dialog_items("_image_dlg_item", *settings);
  EXPECT_EQ(vemo::dialog_items.size(), 2u);
}

TEST_F(DialogItems, KeyWithoutValuesThrowsAndEmptiesTheList) {
  load("_image_dlg_item edit_wib 1 1 2 2\r\nsomething else\r\n");
  vemo::read_dialog_items("_image_dlg_item", *settings);
  EXPECT_THROW(vemo::read_dialog_items("missing_key", *settings), vemo::cfg_error);
  EXPECT_TRUE(vemo::dialog_items.empty());
}

TEST_F(DialogItems, LoadingWithoutSettingsIsAMissingKey) {
  vemo::close_settings();
  EXPECT_THROW(vemo::load_dialog_items(), vemo::cfg_error);
}

TEST_F(DialogItems, LoadingTheSampleSkinGivesItsTwentyThreeItems) {
  vemo::open_settings(L"zq.ini");
  vemo::load_dialog_items();
  vemo::close_settings();
  ASSERT_EQ(vemo::dialog_items.size(), 23u);
  EXPECT_NE(dynamic_cast<vemo::shape_ib*>(vemo::dialog_items[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<vemo::shape_ib*>(vemo::dialog_items[19].get()), nullptr);
  vemo::free_dialog_items();
  EXPECT_TRUE(vemo::dialog_items.empty());
}

}  // namespace
}  // namespace vemo::testing
