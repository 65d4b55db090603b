#include "map/biscuit_layout.h"

#include <algorithm>
#include <cmath>

#include "map/map_surface.h"

namespace tessarel {

void biscuit_layout::layout(const view_rect& rect, int width, int height) {
  arrange(rect);
  rebuild_map_surface(width, height, blocks_);
}

void biscuit_layout::arrange(const view_rect& rect) {
  rect_ = rect;
  outer_radius_ = std::min(rect.right - rect.left, rect.bottom - rect.top) * 0.5;
  inner_radius_ = inner_radius_ratio_ * outer_radius_;
  if (blocks_.empty()) {
    build_rings(blocks_);
    return;
  }
  // A new layout moves the blocks; their codes stay.
  std::vector<map_block> moved;
  build_rings(moved);
  const std::size_t count = std::min(moved.size(), blocks_.size());
  for (std::size_t i = 0; i < count; ++i) {
    std::copy(std::begin(moved[i].corners), std::end(moved[i].corners),
              std::begin(blocks_[i].corners));
  }
}

void biscuit_layout::build_rings(std::vector<map_block>& blocks) {
  blocks_per_ring_.clear();
  blocks.reserve(map_block_count);
  ring_width_ = (outer_radius_ - inner_radius_) / ring_count_;
  const double block_length = block_aspect_ * ring_width_;
  double outer = outer_radius_, inner = outer_radius_ - ring_width_;
  // A rectangle without area has rings of no blocks (and no NaN to convert).
  const bool has_area = block_length > 0;
  for (int k = 0; k < ring_count_; ++k) {
    const int n = has_area ? static_cast<int>(map_two_pi * outer / block_length) : 0;
    std::vector<point_d> outer_points = circle_points(n, outer);
    blocks_per_ring_.push_back(n);
    std::vector<point_d> inner_points = circle_points(n, inner);
    place_points(outer_points);
    place_points(inner_points);
    join_rings(outer_points, inner_points, blocks);
    outer = inner;
    inner -= ring_width_;
  }
}

point_d biscuit_layout::centre() const {
  return {rect_.left + (rect_.right - rect_.left) * 0.5,
          rect_.top + (rect_.bottom - rect_.top) * 0.5};
}

void biscuit_layout::place_points(std::vector<point_d>& points) const {
  const point_d c = centre();
  for (point_d& p : points) p = {c.x + p.x, c.y - p.y};
}

bool biscuit_layout::hit_test(point_d point, std::uint32_t& index) const {
  if (blocks_per_ring_.empty() || !(ring_width_ > 0)) return false;
  const point_d c = centre();
  const double dx = point.x - c.x, dy = c.y - point.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d > outer_radius_ || d < inner_radius_) return false;

  // Exactly on the inner circle (R - r = 25 b) the quotient is 25, one past
  // the innermost ring: that point belongs to the innermost ring.
  const int last_ring = static_cast<int>(blocks_per_ring_.size()) - 1;
  const int ring = std::min(static_cast<int>((outer_radius_ - d) / ring_width_), last_ring);
  int first = 0;
  for (int k = 0; k < ring; ++k) first += blocks_per_ring_[static_cast<std::size_t>(k)];

  double theta = std::atan2(dy, dx);
  if (theta < 0) theta += map_two_pi;
  const double phi = theta < map_half_pi ? theta + map_three_half_pi : theta - map_half_pi;
  const int n = blocks_per_ring_[static_cast<std::size_t>(ring)];
  const int j = std::clamp(static_cast<int>(phi / (map_two_pi / n)), 0, n - 1);
  index = static_cast<std::uint32_t>(std::min<std::size_t>(first + j, blocks_.size() - 1));
  return true;
}

}  // namespace tessarel
