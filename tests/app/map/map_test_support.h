#pragma once
// What the map's tests share: the sample palette, block centres and colour
// conversions.

#include <windows.h>

#include <cstdint>

#include "map/block_palette.h"
#include "map/map_block.h"
#include "vemo/settings.h"

namespace tessarel::testing {

// The palette of the sample settings file beside the test executable.
inline void build_sample_palette() {
  vemo::open_settings(L"zq.ini");
  build_block_palette();
}

// The pixel at the average of a block's corners: well inside the block, away
// from its outline (Wine draws no antialiasing, but edges are still unsafe).
inline POINT block_centre(const map_block& block) {
  float x = 0, y = 0;
  for (const map_point& corner : block.corners) {
    x += corner.x;
    y += corner.y;
  }
  return {static_cast<LONG>(x / 4), static_cast<LONG>(y / 4)};
}

inline COLORREF to_colorref(std::uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace tessarel::testing
