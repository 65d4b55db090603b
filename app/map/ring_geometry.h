#pragma once
// The pure geometry of the map's rings: points on a circle and the blocks
// between two circles. Plain values in and out; any thread.

#include <vector>

#include "map/map_block.h"

namespace tessarel {

// The angles the map is built from: the single-precision values of 2pi,
// pi/2 and 3pi/2, held as doubles, so the rings start a hair counter-clockwise
// of the vertical.
inline constexpr double map_two_pi = 6.2831854820251465;
inline constexpr double map_half_pi = 1.5707963705062866;
inline constexpr double map_three_half_pi = 4.71238911151886;

struct point_d {
  double x = 0;
  double y = 0;
};

// A point of the circle of the radius at the angle, centre-based with y
// pointing up. Angles within 2pi/1000 of pi/2 or 3pi/2 give exactly the top or
// the bottom of the circle.
point_d polar_point(double radius, double angle);

// n points of the circle, point 0 at the top, counter-clockwise on the
// screen. n <= 0 gives none.
std::vector<point_d> circle_points(int n, double radius);

// Appends the blocks between the outer and the inner points (equal counts of
// at least 2; anything else appends nothing): block j has the corners O[j],
// O[j+1], I[j+1], I[j]; the last block O[0], I[0], I[n-1], O[n-1]. Codes 0.
void join_rings(const std::vector<point_d>& outer, const std::vector<point_d>& inner,
                std::vector<map_block>& blocks);

}  // namespace tessarel
