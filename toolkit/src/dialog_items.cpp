#include "vemo/dialog_items.h"

#include <sstream>

namespace vemo {
namespace {

// A field that does not read stays 0 or empty, and so do the fields after
// it (the stream stays failed).
int read_number(std::wistream& in) {
  int number = 0;
  if (!(in >> number)) number = 0;
  return number;
}

std::wstring read_file(std::wistream& in, const cfgure& settings) {
  std::wstring file;
  if (!(in >> file)) return std::wstring();
  make_program_path(settings, file);
  return file;
}

std::wstring read_image(std::wistream& in, const cfgure& settings) {
  std::wstring file;
  if (!(in >> file) || file == L"NULL") return std::wstring();
  make_program_path(settings, file);
  return file;
}

}  // namespace

std::vector<std::unique_ptr<image_dlg_item_base>> dialog_items;

std::unique_ptr<image_dlg_item_base> make_dialog_item(std::wistream& value,
                                                      const cfgure& settings) {
  std::wstring keyword;
  value >> keyword;
  if (keyword == L"shap_ib") {
    auto shape = std::make_unique<shape_ib>();
    shape->bitmap_file = read_file(value, settings);
    shape->corner_width = read_number(value);
    shape->corner_height = read_number(value);
    return shape;
  }
  if (keyword == L"push_button_wib") {
    auto button = std::make_unique<push_button_wib>();
    button->left = read_number(value);
    button->top = read_number(value);
    for (auto& file : button->image_files) file = read_image(value, settings);
    return button;
  }
  if (keyword == L"edit_wib") {
    auto box = std::make_unique<edit_wib>();
    box->left = read_number(value);
    box->top = read_number(value);
    box->right = read_number(value);
    box->bottom = read_number(value);
    return box;
  }
  return nullptr;
}

void read_dialog_items(const std::string& key, const mapcfg& settings) {
  dialog_items.clear();
  const auto range = settings.entries().equal_range(key);
  if (range.first == range.second) throw cfg_error(key);
  for (auto it = range.first; it != range.second; ++it) {
    std::wistringstream value(it->second);
    if (auto item = make_dialog_item(value, settings)) dialog_items.push_back(std::move(item));
  }
}

void load_dialog_items() {
  static const char key[] = "_image_dlg_item";
  const mapcfg* const current = settings();
  if (!current) throw cfg_error(key);
  read_dialog_items(key, *current);
}

void free_dialog_items() { dialog_items.clear(); }

}  // namespace vemo
