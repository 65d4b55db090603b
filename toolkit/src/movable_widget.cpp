#include "vemo/movable_widget.h"

#include <utility>

namespace vemo {

movable_widget_t::movable_widget_t(std::wstring class_name, UINT class_style, HICON icon,
                                   HCURSOR cursor, HBRUSH background, const wchar_t* menu_name,
                                   window* target)
    : frame(std::move(class_name), class_style, icon, cursor, background, menu_name),
      target_(target ? target : this) {}

void movable_widget_t::on_lbutton_down(WPARAM, WORD, WORD) {
  dragging_ = true;
  GetCursorPos(&last_cursor_);
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle(), 0};
  TrackMouseEvent(&track);
}

void movable_widget_t::on_mouse_move(WPARAM, WORD, WORD) {
  if (!dragging_) return;
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  if (cursor.x == last_cursor_.x && cursor.y == last_cursor_.y) return;
  const int dx = cursor.x - last_cursor_.x, dy = cursor.y - last_cursor_.y;
  last_cursor_ = cursor;

  RECT placed{};
  if (!GetWindowRect(target_->handle(), &placed)) return;
  MoveWindow(target_->handle(), placed.left + dx, placed.top + dy, placed.right - placed.left,
             placed.bottom - placed.top, TRUE);
  target_->update();
}

void movable_widget_t::on_lbutton_up(WPARAM, WORD, WORD) { dragging_ = false; }

void movable_widget_t::on_mouse_leave() { dragging_ = false; }

}  // namespace vemo
