#include "map/ring_geometry.h"

#include <cmath>

namespace tessarel {
namespace {

// Within 2pi/1000 of the vertical the tangent is unreliable: snap instead.
constexpr double snap = map_two_pi / 1000;

map_point to_point(const point_d& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

}  // namespace

point_d polar_point(double radius, double angle) {
  if (angle > map_half_pi - snap && angle < map_half_pi + snap) return {0, radius};
  if (angle > map_three_half_pi - snap && angle < map_three_half_pi + snap) return {0, -radius};
  const double t = std::tan(angle);
  double x = radius / std::sqrt(1 + t * t);
  if (angle >= map_half_pi && angle < map_three_half_pi) x = -x;
  return {x, x * t};
}

std::vector<point_d> circle_points(int n, double radius) {
  std::vector<point_d> points;
  if (n <= 0) return points;
  points.reserve(static_cast<std::size_t>(n));
  const double step = map_two_pi / n;
  double angle = map_half_pi;
  for (int j = 0; j < n; ++j) {
    points.push_back(polar_point(radius, angle));
    angle += step;
  }
  return points;
}

void join_rings(const std::vector<point_d>& outer, const std::vector<point_d>& inner,
                std::vector<map_block>& blocks) {
  const std::size_t n = outer.size();
  if (n < 2 || inner.size() != n) return;
  for (std::size_t j = 0; j + 1 < n; ++j) {
    map_block block;
    block.corners[0] = to_point(outer[j]);
    block.corners[1] = to_point(outer[j + 1]);
    block.corners[2] = to_point(inner[j + 1]);
    block.corners[3] = to_point(inner[j]);
    blocks.push_back(block);
  }
  map_block last;
  last.corners[0] = to_point(outer[0]);
  last.corners[1] = to_point(inner[0]);
  last.corners[2] = to_point(inner[n - 1]);
  last.corners[3] = to_point(outer[n - 1]);
  blocks.push_back(last);
}

}  // namespace tessarel
