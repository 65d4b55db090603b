#include "status/status_layout.h"

namespace tessarel {
namespace {

// The move and activity texts are right-aligned; these widths hold the
// longest of them in the default GUI font.
constexpr int move_strip_width = 200;
constexpr int activity_strip_width = 150;

}  // namespace

status_layout lay_out_status(int x, int y, int text_height) {
  const int h = text_height;
  status_layout l;
  l.item_pos = {x, y - h - 2};
  l.move_pos = {x, y - 2 * h - 17};
  l.activity_pos = {x, y - 3 * h - 17};
  // The item strip starts at the item line's top, so no band of an old,
  // longer name stays on screen; it runs to the bottom of the client area.
  l.item_strip = {0, l.item_pos.y, x, y};
  l.move_strip = {x - move_strip_width, l.move_pos.y, x, l.move_pos.y + h};
  l.activity_strip = {x - activity_strip_width, l.activity_pos.y, x, l.activity_pos.y + h};
  return l;
}

}  // namespace tessarel
