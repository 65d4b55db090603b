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

// Every field of an item as text: kind, numbers, then files relative to the
// program folder ("-" for none).
std::wstring describe(const vemo::image_dlg_item_base* item) {
  const std::wstring folder = test_folder() + L"\\";
  const auto file = [&](const std::wstring& f) {
    return f.empty() ? L" -" : f.rfind(folder, 0) == 0 ? L" " + f.substr(folder.size()) : L" ?";
  };
  std::wostringstream out;
  if (auto* shape = dynamic_cast<const vemo::shape_ib*>(item)) {
    out << L"shape" << file(shape->bitmap_file) << L' ' << shape->corner_width << L' '
        << shape->corner_height;
  } else if (auto* place = dynamic_cast<const vemo::window_ib*>(item)) {
    out << (dynamic_cast<const vemo::edit_wib*>(item) ? L"edit " : L"button ") << place->left
        << L' ' << place->top << L' ' << place->right << L' ' << place->bottom;
    if (auto* button = dynamic_cast<const vemo::push_button_wib*>(item))
      for (const auto& image : button->image_files) out << file(image);
  } else {
    out << (item ? L"?" : L"none");
  }
  return out.str();
}

TEST(DialogItems, ValuesAndTheItemsTheyMake) {
  const vemo::mapcfg folder_only(L"unused.ini");
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L" shap_ib back.bmp 20 12 rest ignored", L"shape back.bmp 20 12"},
      {L"shap_ib", L"shape - 0 0"},
      {L"push_button_wib 10 11 a.bmp NULL c.bmp NULL", L"button 10 11 0 0 a.bmp - c.bmp -"},
      {L"push_button_wib 3 4", L"button 3 4 0 0 - - - -"},
      {L"edit_wib 1 2 3 4", L"edit 1 2 3 4"},
      // A field that does not read stays 0, and so do the ones after it.
      {L"edit_wib 1 x 3 4", L"edit 1 0 0 0"},
      {L"", L"none"},
      {L"Shap_ib a.bmp 1 1", L"none"},  // keywords are case-sensitive
      {L"edit 1 2 3 4", L"none"},
  };
  for (const auto& [value, expected] : cases) {
    std::wistringstream in(value);
    EXPECT_EQ(describe(vemo::make_dialog_item(in, folder_only).get()), expected) << value;
  }
}

TEST(DialogItems, UnknownKeywordLeavesNoGapAndAMissingKeyThrows) {
  const scoped_file file(L"dialog_items_test.ini",
                         "_image_dlg_item shap_ib back.bmp 20 20\r\n"
                         "_image_dlg_item label 1 2\r\n"
                         "other_key shap_ib x.bmp 1 1\r\n"
                         "_image_dlg_item push_button_wib 10 10 a.bmp b.bmp c.bmp NULL\r\n");
  vemo::mapcfg items(file.name());
  items.load();
  vemo::read_dialog_items("_image_dlg_item", items);
  ASSERT_EQ(vemo::dialog_items.size(), 2u);
  EXPECT_EQ(describe(vemo::dialog_items[1].get()), L"button 10 10 0 0 a.bmp b.bmp c.bmp -");

  EXPECT_THROW(vemo::read_dialog_items("missing_key", items), vemo::cfg_error);
  EXPECT_TRUE(vemo::dialog_items.empty());
  // Without a settings object, as for a missing key.
  vemo::close_settings();
  EXPECT_THROW(vemo::load_dialog_items(), vemo::cfg_error);
}

}  // namespace
}  // namespace vemo::testing
