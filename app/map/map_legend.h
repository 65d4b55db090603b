#pragma once
// The legend of the map's colours. User interface thread only.

#include <windows.h>

namespace tessarel {

// One row per palette entry, entry 0 lowest and each next one 17 pixels
// higher, the lowest row just above anchor: a 17 x 17 square of the entry's
// colour at anchor.x and its name 19 pixels to the right, in the device
// context's text colour on a transparent background. Selects the stock
// DEFAULT_GUI_FONT into the device context and leaves it selected. Draws
// nothing before the palette is built.
void draw_legend(HDC dc, POINT anchor);

// Height and spacing of a legend row; offset of a name from its square.
inline constexpr int legend_row_height = 17;
inline constexpr int legend_name_offset = 19;

}  // namespace tessarel
