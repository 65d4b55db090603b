#pragma once

#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "vemo/list_f.h"

namespace vemo {

// A list painted in bands of fixed height below an empty header band, the
// rows' images and texts side by side from x = left(). The window's own
// vertical scroll bar, the wheel (one row a turn, whatever its size) and the
// scroll requests line up/down and thumb position/track choose the first row
// shown; the scroll range is 0 to rows + 1, so the list scrolls until no row
// is left. User interface thread only.
class grid_lf : public list_f {
 public:
  grid_lf();
  ~grid_lf() override;

  // Also sets the position and maximum to 0 and the scroll range to 0..1.
  void clear() override;
  // Both set the scroll maximum and range to rows + 1; the position stays.
  void add_image_row(const std::vector<std::wstring>& texts,
                     const std::vector<std::wstring>& image_files) override;
  void add_row(const std::vector<std::wstring>& texts) override;

  int row_height() const { return row_height_; }
  int header_height() const { return header_height_; }
  int left() const { return left_; }
  // The y of the header band; rows start one row height below it.
  int top() const { return top_; }
  // The index of the first row shown.
  int scroll_position() const { return scroll_position_; }
  int scroll_maximum() const { return scroll_maximum_; }

 protected:  // Override these.
  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  // Takes the focus.
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;
  void on_mouse_wheel(int keys, int delta, WORD x, WORD y) override;
  bool on_vscroll(int position, int request, HWND scroll_bar) override;

 protected:
  // The row painted in the first band below the header (the end when the
  // list is scrolled past its last row).
  std::list<list_row>::const_iterator first_drawn_row() const;
  // Erases and paints the whole client area now.
  void repaint();

 private:
  void step_up();
  void step_down();
  void scroll_to(int position);
  void set_range_to_rows();

  int row_height_ = 20;
  int header_height_ = 20;
  int left_ = 20;
  int top_ = 0;
  int scroll_position_ = 0;
  int scroll_maximum_ = 0;
};

}  // namespace vemo
