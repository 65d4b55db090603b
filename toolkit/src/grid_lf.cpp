#include "vemo/grid_lf.h"

#include <iterator>

namespace vemo {
namespace {

// Image i goes in front of text i; an empty image takes no room, and images
// past the last text are not shown.
void draw_row(HDC dc, const list_row& row, int x, int y) {
  for (size_t i = 0; i < row.texts.size(); ++i) {
    if (i < row.images.size() && row.images[i]->loaded()) {
      const mem_bitmap& image = *row.images[i];
      BitBlt(dc, x, y, image.width(), image.height(), image.dc(), 0, 0, SRCCOPY);
      x += image.width();
    }
    const std::wstring& text = row.texts[i];
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  }
}

}  // namespace

grid_lf::grid_lf() = default;

grid_lf::~grid_lf() = default;

void grid_lf::clear() {
  list_f::clear();
  scroll_position_ = 0;
  scroll_maximum_ = 0;
  SetScrollRange(handle(), SB_VERT, 0, 1, TRUE);
}

void grid_lf::add_image_row(const std::vector<std::wstring>& texts,
                            const std::vector<std::wstring>& image_files) {
  list_f::add_image_row(texts, image_files);
  set_range_to_rows();
}

void grid_lf::add_row(const std::vector<std::wstring>& texts) {
  list_f::add_row(texts);
  set_range_to_rows();
}

void grid_lf::set_range_to_rows() {
  scroll_maximum_ = static_cast<int>(rows().size()) + 1;
  SetScrollRange(handle(), SB_VERT, 0, scroll_maximum_, TRUE);
}

std::list<list_row>::const_iterator grid_lf::first_drawn_row() const {
  int first = scroll_position_;
  if (first == scroll_maximum_ && first != 0) --first;
  // A thumb position may lie past the rows (set while the range was larger).
  if (first <= 0) return rows().begin();
  if (static_cast<size_t>(first) >= rows().size()) return rows().end();
  return std::next(rows().begin(), first);
}

void grid_lf::on_paint(HDC dc, PAINTSTRUCT&) {
  // Rows below the window are clipped by the system.
  int y = top_ + row_height_;
  for (auto row = first_drawn_row(); row != rows().end(); ++row, y += row_height_)
    draw_row(dc, *row, left_, y);
}

void grid_lf::on_lbutton_down(WPARAM, WORD, WORD) { SetFocus(handle()); }

void grid_lf::on_mouse_wheel(int, int delta, WORD, WORD) {
  if (delta > 0) {
    step_up();
  } else {
    step_down();
  }
}

bool grid_lf::on_vscroll(int position, int request, HWND) {
  switch (request) {
    case SB_LINEUP:
      step_up();
      return true;
    case SB_LINEDOWN:
      step_down();
      return true;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      scroll_to(position);
      return true;
    default:
      return false;
  }
}

void grid_lf::step_up() {
  if (scroll_position_ > 0) scroll_to(scroll_position_ - 1);
}

void grid_lf::step_down() {
  if (scroll_position_ < scroll_maximum_) scroll_to(scroll_position_ + 1);
}

void grid_lf::scroll_to(int position) {
  scroll_position_ = position;
  SetScrollPos(handle(), SB_VERT, position, TRUE);
  repaint();
}

void grid_lf::repaint() {
  InvalidateRect(handle(), nullptr, TRUE);
  update();
}

}  // namespace vemo
