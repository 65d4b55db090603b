#include "driver/map_colours.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "driver/e2e_files.h"
#include "map/biscuit_layout.h"

namespace tessarel::e2e {

namespace {

// The map fills the client area less these margins (the main window's
// layout).
constexpr double map_left = 194;
constexpr double map_top = 42;
constexpr double map_right_margin = 10;
constexpr double map_bottom_margin = 20;

constexpr const char* palette_key = "biscuit_visual_effect";

}  // namespace

std::vector<POINT> block_centres(SIZE client) {
  biscuit_layout layout;
  layout.arrange(view_rect{map_left, map_top, client.cx - map_right_margin,
                           client.cy - map_bottom_margin});
  std::vector<POINT> centres;
  centres.reserve(layout.blocks().size());
  for (const map_block& block : layout.blocks()) {
    double x = 0, y = 0;
    for (const map_point& corner : block.corners) {
      x += corner.x / 4.0;
      y += corner.y / 4.0;
    }
    centres.push_back({std::lround(x), std::lround(y)});
  }
  return centres;
}

std::vector<COLORREF> palette_colours(const std::wstring& settings_file) {
  std::vector<COLORREF> colours;
  std::istringstream lines(read_file(settings_file).value_or(""));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string key;
    int red = 0, green = 0, blue = 0;
    if (words >> key && key == palette_key && words >> red >> green >> blue)
      colours.push_back(RGB(red & 0xFF, green & 0xFF, blue & 0xFF));
  }
  return colours;
}

std::vector<int> shown_codes(const window_picture& picture, const std::vector<POINT>& centres,
                             const std::vector<COLORREF>& palette) {
  std::vector<int> codes;
  codes.reserve(centres.size());
  for (const POINT& centre : centres) {
    const COLORREF colour = picture.client_pixel(centre.x, centre.y);
    const auto entry = std::find(palette.begin(), palette.end(), colour);
    codes.push_back(entry == palette.end() ? -1 : static_cast<int>(entry - palette.begin()));
  }
  return codes;
}

}  // namespace tessarel::e2e
