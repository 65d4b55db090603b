#include "vemo/check_glf.h"

#include <iterator>

#include "parent_notification.h"

namespace vemo {
namespace {

// The box lies in the 20 pixels left of the texts, 2 pixels inside its band.
constexpr int box_width = 20;
constexpr int box_margin = 2;

}  // namespace

check_glf::check_glf(const std::wstring& unchecked_image_file,
                     const std::wstring& checked_image_file) {
  checked_image_.load(checked_image_file);
  unchecked_image_.load(unchecked_image_file);
}

check_glf::~check_glf() = default;

void check_glf::on_paint(HDC dc, PAINTSTRUCT& paint) {
  grid_lf::on_paint(dc, paint);
  int y = row_height();
  for (auto row = first_drawn_row(); row != rows().end(); ++row, y += row_height())
    if (!row->texts.empty()) draw_box(dc, *row, y);
}

void check_glf::draw_box(HDC dc, const list_row& row, int y) const {
  const RECT box{box_margin, y + box_margin, box_width - box_margin, y + row_height() - box_margin};
  if (checked_image_.loaded() && unchecked_image_.loaded()) {
    (row.checked ? checked_image_ : unchecked_image_).blit(box, dc);
    return;
  }
  // In the device context's own pen and brush.
  Rectangle(dc, box.left, box.top, box.right, box.bottom);
  if (!row.checked) return;
  MoveToEx(dc, box.left, box.top + (box.bottom - box.top) / 2, nullptr);
  LineTo(dc, box.left + (box.right - box.left) / 2, box.bottom);
  LineTo(dc, box.right, box.top);
}

void check_glf::on_lbutton_down(WPARAM, WORD, WORD y) {
  SetFocus(handle());
  // Band 0 is the header; x does not matter.
  const int band = y / row_height();
  bool toggled = false;
  if (band >= 1 && scroll_position() < scroll_maximum()) {
    const int index = scroll_position() + band - 1;
    if (static_cast<size_t>(index) < rows().size()) {
      set_current_row(index);
      list_row& row = *std::next(mutable_rows().begin(), index);
      row.checked = row.checked ? 0 : 1;
      toggled = true;
    }
  }
  repaint();
  // Last: the parent may destroy this list's window or delete the list
  // while it handles the click.
  if (toggled) notify_parent(handle(), 0, 1);
}

}  // namespace vemo
