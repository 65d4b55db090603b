#pragma once

#include <windows.h>

#include <string>

#include "vemo/grid_lf.h"
#include "vemo/mem_bitmap.h"

namespace vemo {

// A grid list with a check box in front of every row that has a text. A
// left click in a row's band toggles the row, makes it the current row and
// sends the parent (any window, toolkit or not) WM_COMMAND with
// MAKEWPARAM(0, 1) and this list's handle, synchronously, after the list
// has repainted and as the click's last step (the parent may destroy the
// list's window or delete the list meanwhile); without a parent nobody is
// told. Clicks in the header band or
// below the last row toggle nothing. User interface thread only.
class check_glf : public grid_lf {
 public:
  // Boxes are drawn from the two images when both load; otherwise as an
  // outline, with a tick for a checked row.
  check_glf(const std::wstring& unchecked_image_file, const std::wstring& checked_image_file);
  ~check_glf() override;

  const mem_bitmap& checked_image() const { return checked_image_; }
  const mem_bitmap& unchecked_image() const { return unchecked_image_; }

 protected:  // Override these.
  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;

 private:
  void draw_box(HDC dc, const list_row& row, int y) const;

  mem_bitmap checked_image_;
  mem_bitmap unchecked_image_;
};

}  // namespace vemo
