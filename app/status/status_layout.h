#pragma once
// Where the status area's three lines stand and the strips repainted when
// they change, from the panel's anchor and the font's height.

#include <windows.h>

namespace tessarel {

struct status_layout {
  // Right end and top of each line's text.
  POINT item_pos{};
  POINT move_pos{};
  POINT activity_pos{};
  // The strips that together make the panel's update region.
  RECT item_strip{};
  RECT move_strip{};
  RECT activity_strip{};
};

// x: the right end of the lines (client width - 10); y: the client height;
// text_height: the font's tmHeight. The item line ends 2 pixels above the
// bottom; the move and activity lines sit above it, 15 pixels apart from it.
status_layout lay_out_status(int x, int y, int text_height);

}  // namespace tessarel
