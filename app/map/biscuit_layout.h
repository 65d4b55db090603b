#pragma once
// The geometry of the round cluster map: 25 rings of 2565 blocks laid out in
// a rectangle, and the hit test. User interface thread only (layout rebuilds
// the process's map surface).

#include <cstdint>
#include <vector>

#include "map/map_block.h"
#include "map/ring_geometry.h"

namespace tessarel {

struct view_rect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

class biscuit_layout {
 public:
  // Lays the map out in the rectangle (arrange), then replaces the map surface
  // with a transparent width x height one holding every block painted.
  void layout(const view_rect& rect, int width, int height);

  // The geometry half of layout, without the surface: the first call makes
  // the blocks with code 0, later calls move them and keep their codes.
  void arrange(const view_rect& rect);

  // The block under a point of the client area: false when the point lies on
  // no ring or nothing is laid out yet. A point exactly on the inner circle
  // counts as the innermost ring. index is always below the block count.
  bool hit_test(point_d point, std::uint32_t& index) const;

  // Outermost ring first, each ring in angular order: empty until the first
  // layout, map_block_count blocks after it. The owner reads and writes
  // single codes and then repaints the block.
  std::vector<map_block>& blocks() { return blocks_; }
  const std::vector<map_block>& blocks() const { return blocks_; }

  const view_rect& rect() const { return rect_; }
  double outer_radius() const { return outer_radius_; }
  double inner_radius() const { return inner_radius_; }
  double ring_width() const { return ring_width_; }
  // One count per ring, outermost first; empty until the first layout.
  const std::vector<int>& blocks_per_ring() const { return blocks_per_ring_; }

 private:
  // Builds the rings into blocks and fills blocks_per_ring_.
  void build_rings(std::vector<map_block>& blocks);
  // Moves centre-based points (y up) into the view rectangle.
  void place_points(std::vector<point_d>& points) const;
  point_d centre() const;

  view_rect rect_;
  std::vector<map_block> blocks_;
  double inner_radius_ratio_ = 0.25;
  // Block length along the ring, in ring widths.
  double block_aspect_ = 1.3;
  double outer_radius_ = 0;
  double inner_radius_ = 0;
  int ring_count_ = map_ring_count;
  double ring_width_ = 0;
  std::vector<int> blocks_per_ring_;
};

}  // namespace tessarel
