#include "vemo/window_drag.h"

namespace vemo {

void window_drag::start(HWND tracked) {
  dragging_ = true;
  GetCursorPos(&last_cursor_);
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, tracked, 0};
  TrackMouseEvent(&track);
}

bool window_drag::follow(HWND target, WPARAM keys) {
  if (!dragging_) return false;
  if (!(keys & MK_LBUTTON)) {
    dragging_ = false;
    return false;
  }
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return false;
  if (cursor.x == last_cursor_.x && cursor.y == last_cursor_.y) return false;
  const int dx = cursor.x - last_cursor_.x, dy = cursor.y - last_cursor_.y;
  last_cursor_ = cursor;

  RECT placed{};
  if (!GetWindowRect(target, &placed)) return false;
  return MoveWindow(target, placed.left + dx, placed.top + dy, placed.right - placed.left,
                    placed.bottom - placed.top, TRUE) != FALSE;
}

}  // namespace vemo
