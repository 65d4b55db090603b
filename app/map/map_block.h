#pragma once
// One block of the round cluster map and the counts every layout yields.

#include <cstddef>

namespace tessarel {

// The map always has this many blocks in this many rings, whatever its size,
// so a colour-code sequence indexes blocks by position.
inline constexpr std::size_t map_block_count = 2565;
inline constexpr int map_ring_count = 25;

// A point in client coordinates of the view's window (the layout of GDI+'s
// PointF, kept free of its headers).
struct map_point {
  float x = 0;
  float y = 0;
};

struct map_block {
  // Index into the block palette; 0 for a block a layout has just made.
  int colour_code = 0;
  // Outer edge first: see join_rings for the corner order.
  map_point corners[4];
};

}  // namespace tessarel
