#pragma once
// Reading the round map off the screen: where each of its 2565 blocks has
// its centre in a main window of a given client size (the program's own
// layout), the colour of each code (the skin's palette), and the code each
// block shows. The driver's thread alone.

#include <windows.h>

#include <string>
#include <vector>

#include "driver/window_picture.h"

namespace tessarel::e2e {

// The block centres, block 0 first, for a main window of that client size.
std::vector<POINT> block_centres(SIZE client);

// Colour code i's colour, from the values of "biscuit_visual_effect" in the
// settings file (red green blue name). Empty when the file cannot be read.
std::vector<COLORREF> palette_colours(const std::wstring& settings_file);

// The code each block shows: the palette entry whose colour its centre
// pixel has; -1 for a colour that is no entry's.
std::vector<int> shown_codes(const window_picture& picture, const std::vector<POINT>& centres,
                             const std::vector<COLORREF>& palette);

}  // namespace tessarel::e2e
