#include <gtest/gtest.h>

#include <cstdint>

#include "cells/cell_geometry.h"

namespace dravik::testing {
namespace {

struct geometry_case {
  uint64_t clusters;
  uint64_t clusters_per_cell;
  uint64_t cells_filled;
};

class CellGeometry : public ::testing::TestWithParam<geometry_case> {};

// Catches a map with more than 1000 cells, a zero cell size and the 32-bit
// overflow of large volumes.
TEST_P(CellGeometry, SpreadsClustersOverAtMost1000Cells) {
  const cell_geometry geometry = cell_geometry_of(GetParam().clusters);
  EXPECT_EQ(geometry.clusters_per_cell, GetParam().clusters_per_cell);
  EXPECT_EQ(geometry.cells_filled, GetParam().cells_filled);
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, CellGeometry,
    ::testing::Values(geometry_case{0, 1, 0}, geometry_case{1, 1, 1},
                      geometry_case{500, 1, 500}, geometry_case{999, 1, 999},
                      geometry_case{1000, 1, 1000}, geometry_case{1001, 2, 501},
                      geometry_case{2000, 2, 1000}, geometry_case{2001, 3, 667},
                      geometry_case{uint64_t{1} << 28, 268436, 1000},
                      // the largest count a signed 32-bit division handles right
                      geometry_case{0x7FFFFFFF, 2147484, 1000},
                      // past it the 32-bit value would be negative
                      geometry_case{uint64_t{1} << 31, 2147484, 1000},
                      geometry_case{uint64_t{1} << 34, 17179870, 1000}));

struct cell_case {
  int64_t lcn;
  uint64_t clusters_per_cell;
  int64_t cell;
};

class CellOfCluster : public ::testing::TestWithParam<cell_case> {};

// Catches a shifted boundary: cell k holds clusters kC + 1 to (k + 1)C.
TEST_P(CellOfCluster, CountsCellsFromCluster1) {
  EXPECT_EQ(cell_of_cluster(GetParam().lcn, GetParam().clusters_per_cell), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(
    Clusters, CellOfCluster,
    ::testing::Values(cell_case{0, 1, -1}, cell_case{1, 1, 0}, cell_case{999, 1, 998},
                      cell_case{1000, 1, 999}, cell_case{0, 4, -1}, cell_case{1, 4, 0},
                      cell_case{4, 4, 0}, cell_case{5, 4, 1}, cell_case{8, 4, 1},
                      // a cluster above 2^31 keeps its true cell
                      cell_case{(int64_t{1} << 31) + 10, 2147484, 999}));

// Catches an index that escapes the map: anything outside 0..999 is the last
// cell.
TEST(CellWithinMap, OutsideIndexesBecomeTheLastCell) {
  EXPECT_EQ(cell_within_map(-1), 999);
  EXPECT_EQ(cell_within_map(1000), 999);
  EXPECT_EQ(cell_within_map(INT64_MIN), 999);
  EXPECT_EQ(cell_within_map(0), 0);
  EXPECT_EQ(cell_within_map(999), 999);
  EXPECT_EQ(cell_within_map(500), 500);
}

}  // namespace
}  // namespace dravik::testing
