#pragma once
// The schedule dialog's list of volumes: one row per fixed drive with a check
// box, and a select-all box in the header of its first column.

#include "classlib/button.h"
#include "classlib/list_ctrl.h"

#include <functional>
#include <memory>
#include <string>

namespace dravik {

// The size text of a drive letter's volume (as recorded at load), shown next
// to the letter.
using volume_size_text = std::function<std::string(char letter)>;

class SelVolumeList;

// The select-all box: pressing it checks or unchecks every item of its list.
class MyCheckBox : public CButton {
 public:
  ~MyCheckBox() override;

  SelVolumeList* list = nullptr;  // the list whose items it checks; not owned

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  LRESULT on_button_down(UINT message, WPARAM wparam, LPARAM lparam);
};

class SelVolumeList : public CListCtrl {
 public:
  // Creates the select-all box over the header of column 0 (child 111 of
  // the header control). false when it cannot be created.
  bool add_select_all_box();
  // Unchecks every item when select_all is set, checks every item otherwise,
  // and inverts select_all.
  void toggle_all();

  RECT box_rect{};           // where the box sits, in header coordinates
  bool select_all = false;   // the box's logical state
  bool bulk_update = false;  // set while toggle_all changes the items
  int checked_count = 0;     // checked items, as the list has counted them
  std::unique_ptr<MyCheckBox> select_all_box;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool OnChildNotify(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  void on_item_changed(const NMLISTVIEW& change);
  LRESULT on_double_click(UINT message, WPARAM wparam, LPARAM lparam);
  void show_select_all(bool checked);
};

}  // namespace dravik
