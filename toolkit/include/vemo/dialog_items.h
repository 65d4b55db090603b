#pragma once
// The items of the skinned dialogs: every value of the settings key
// "_image_dlg_item" is one item (a background shape, a push button or an edit
// box), numbered from 0 in file order in the process-wide list dialog_items.
// A dialog takes a range of that list: the shape first, then one window item
// per child. User interface thread only.

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "vemo/settings.h"

namespace vemo {

class image_dlg_item_base {
 public:
  image_dlg_item_base() = default;
  virtual ~image_dlg_item_base() = default;
  image_dlg_item_base(const image_dlg_item_base&) = delete;
  image_dlg_item_base& operator=(const image_dlg_item_base&) = delete;
};

// A dialog's background: a bitmap file (absolute path) and the size of the
// rounded corners (0 and 0: square).
class shape_ib final : public image_dlg_item_base {
 public:
  std::wstring bitmap_file;
  int corner_width = 0;
  int corner_height = 0;
};

// Where a child window stands, in dialog client coordinates.
class window_ib : public image_dlg_item_base {
 public:
  int left = 0, top = 0, right = 0, bottom = 0;

 protected:
  window_ib() = default;
};

// A push button: its four state images (absolute paths; empty: no image).
// The value gives left and top; a dialog that builds the button sets right
// and bottom from the size of image 0.
class push_button_wib final : public window_ib {
 public:
  std::wstring image_files[4];
};

// An edit box; the value gives all four sides.
class edit_wib final : public window_ib {};

// The items in file order; an item's index is its position.
extern std::vector<std::unique_ptr<image_dlg_item_base>> dialog_items;

// The item of a value of "_image_dlg_item" (the text after the key): by its
// first word, "shap_ib" (file, corner width, corner height), "push_button_wib"
// (left, top, four image files, "NULL" for none) or "edit_wib" (left, top,
// right, bottom). File names are made absolute against the settings' program
// folder. Another keyword gives null. A number that does not read stays 0, a
// file name that does not read stays empty; the item is still made.
std::unique_ptr<image_dlg_item_base> make_dialog_item(std::wistream& value,
                                                      const cfgure& settings);

// Empties dialog_items, then makes one item of every value of key in file
// order; values that make no item leave no gap. Throws cfg_error for a key
// without values (dialog_items is then empty).
void read_dialog_items(const std::string& key, const mapcfg& settings);

// read_dialog_items of "_image_dlg_item" from the process's settings object
// (open_settings); without one it throws cfg_error as for a missing key.
void load_dialog_items();

// Deletes every item (at exit).
void free_dialog_items();

}  // namespace vemo
