// The skin that ships with the program: every key the program asks for is
// there, and every file it names can be used.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "toolkit_test_support.h"
#include "vemo/mem_bitmap.h"
#include "vemo/settings.h"

namespace vemo::testing {
namespace {

class SampleSkin : public ::testing::Test {
 protected:
  SampleSkin() : skin(L"zq.ini") { skin.load(); }

  std::wstring file_of(const std::string& key) {
    std::wstring name;
    skin.get(key, name);
    vemo::make_program_path(skin, name);
    return name;
  }

  static bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  vemo::mapcfg skin;
};

TEST_F(SampleSkin, EveryImageKeyNamesAFileThatLoads) {
  std::vector<std::string> bitmap_keys = {"check_box_unselected_img", "check_box_selected_img",
                                          "registry_img", "volume_img"};
  for (const char* button : {"analyze_start", "analyze_stop", "defragment_start",
                             "defragment_stop", "advanced", "minimize", "close"})
    for (int state = 0; state < 4; ++state)
      bitmap_keys.push_back(std::string(button) + "_" + std::to_string(state));

  for (const auto& key : bitmap_keys) {
    vemo::mem_bitmap image;
    EXPECT_TRUE(image.load(file_of(key))) << key;
  }
  for (const char* key : {"logo_img", "biscuit_view_background_img"})
    EXPECT_TRUE(exists(file_of(key))) << key;
}

TEST_F(SampleSkin, ImagesFitWhereTheProgramPutsThem) {
  // Main window buttons are laid out 130 x 34; a check box fits the 16 x 16
  // box of a 20-pixel row; minimise and close share the 70 pixels right of x 734.
  for (const char* button : {"analyze_start", "analyze_stop", "defragment_start",
                             "defragment_stop", "advanced"}) {
    vemo::mem_bitmap image;
    ASSERT_TRUE(image.load(file_of(std::string(button) + "_0")));
    EXPECT_EQ(image.width(), 130) << button;
    EXPECT_EQ(image.height(), 34) << button;
  }
  for (const char* key : {"check_box_unselected_img", "check_box_selected_img"}) {
    vemo::mem_bitmap image;
    ASSERT_TRUE(image.load(file_of(key)));
    EXPECT_EQ(image.width(), 16) << key;
    EXPECT_EQ(image.height(), 16) << key;
  }
  vemo::mem_bitmap minimize, close;
  ASSERT_TRUE(minimize.load(file_of("minimize_0")));
  ASSERT_TRUE(close.load(file_of("close_0")));
  EXPECT_LE(734 + minimize.width() + close.width(), 804);
}

TEST_F(SampleSkin, BlockColoursCoverTheStateCodesAndTheHighlight) {
  const auto range = skin.entries().equal_range("biscuit_visual_effect");
  int entries = 0;
  for (auto it = range.first; it != range.second; ++it, ++entries) {
    std::wistringstream in(it->second);
    int red = -1, green = -1, blue = -1;
    std::wstring name;
    in >> red >> green >> blue >> name;
    EXPECT_TRUE(red >= 0 && red <= 255 && green >= 0 && green <= 255 && blue >= 0 && blue <= 255)
        << "entry " << entries;
    EXPECT_FALSE(name.empty()) << "entry " << entries;
  }
  EXPECT_GE(entries, 7);  // codes 0 to 5, then the highlight
}

TEST_F(SampleSkin, DialogItemsOfTheAboutBoxAndTheDefragmentationMenu) {
  std::vector<std::wstring> keywords;
  skin.get_all("_image_dlg_item", keywords);
  ASSERT_EQ(keywords.size(), 23u);

  std::vector<std::wstring> values;
  for (auto [it, end] = skin.entries().equal_range("_image_dlg_item"); it != end; ++it)
    values.push_back(it->second);

  // A dialog: a shape item, then its buttons, all inside its background.
  const auto check_dialog = [&](size_t first, size_t last) {
    std::wistringstream shape(values[first]);
    std::wstring keyword, file;
    int corner_width = 0, corner_height = 0;
    shape >> keyword >> file >> corner_width >> corner_height;
    ASSERT_EQ(keyword, L"shap_ib") << "item " << first;
    vemo::make_program_path(skin, file);
    vemo::mem_bitmap background;
    ASSERT_TRUE(background.load(file)) << "item " << first;
    EXPECT_GT(corner_width, 0);
    EXPECT_GT(corner_height, 0);

    for (size_t i = first + 1; i <= last; ++i) {
      std::wistringstream button(values[i]);
      int left = -1, top = -1;
      std::wstring images[4];
      button >> keyword >> left >> top >> images[0] >> images[1] >> images[2] >> images[3];
      ASSERT_EQ(keyword, L"push_button_wib") << "item " << i;
      for (auto& image : images) {
        if (image == L"NULL") continue;
        vemo::make_program_path(skin, image);
        vemo::mem_bitmap state;
        EXPECT_TRUE(state.load(image)) << "item " << i;
      }
      vemo::mem_bitmap face;
      ASSERT_TRUE(face.load(images[0]));
      EXPECT_GE(left, 0);
      EXPECT_GE(top, 0);
      EXPECT_LE(left + face.width(), background.width()) << "item " << i;
      EXPECT_LE(top + face.height(), background.height()) << "item " << i;
    }
  };
  check_dialog(0, 1);
  check_dialog(19, 22);
}

}  // namespace
}  // namespace vemo::testing
