#include <gtest/gtest.h>

#include <memory>

#include "cells/colour_rule.h"

namespace dravik::testing {
namespace {

struct colour_case {
  const char* name;
  cell_counts cell;
  int32_t recency;
  int32_t colour;
};

class CellColour : public ::testing::TestWithParam<colour_case> {};

// Catches a wrong order of tests or a tie broken the wrong way.
TEST_P(CellColour, FollowsTheRule) {
  EXPECT_EQ(cell_colour(GetParam().cell, GetParam().recency), GetParam().colour);
}

//                 in_use system reserved fragmented contiguous settled
INSTANTIATE_TEST_SUITE_P(
    Cells, CellColour,
    ::testing::Values(
        colour_case{"NotInUse", {0, 3, 0, 9, 0, 0}, 0, 0},
        colour_case{"SystemWins", {1, 1, 0, 9, 2, 2}, 0, 2},
        colour_case{"InUseWithNothingCountedIsSettled", {1, 0, 0, 0, 0, 0}, 0, 3},
        colour_case{"ReservedOnlyIsSettled", {1, 0, 7, 0, 0, 0}, 0, 3},
        colour_case{"AllEqualIsSettled", {1, 0, 0, 4, 4, 4}, 0, 3},
        colour_case{"SettledTiesContiguous", {1, 0, 0, 1, 3, 3}, 0, 3},
        colour_case{"ContiguousTiesFragmented", {1, 0, 0, 5, 5, 2}, 0, 4},
        colour_case{"FragmentedDominatesOld", {1, 0, 0, 6, 5, 2}, 2, 5},
        colour_case{"FragmentedDominatesUnknown", {1, 0, 0, 6, 5, 2}, 0, 5},
        colour_case{"FragmentedDominatesRecent", {1, 0, 0, 6, 5, 2}, 1, 1},
        colour_case{"FragmentedOverSettled", {1, 0, 0, 3, 0, 2}, 0, 5},
        colour_case{"SettledTiesFragmented", {1, 0, 0, 3, 0, 3}, 1, 3},
        // the comparisons are signed: a negative count from a damaged file
        // does not outweigh zero
        colour_case{"NegativeFragmented", {1, 0, 0, -5, 0, 0}, 0, 3},
        colour_case{"NegativeSystemIsNotSystem", {1, -1, 0, 0, 2, 0}, 0, 4}),
    [](const ::testing::TestParamInfo<colour_case>& info) { return info.param.name; });

// Catches a table that keeps stale colours for a volume without a map, or that
// misses the last cell.
TEST(ColourTable, VolumeWithoutMapIsAllFree) {
  CellColorTable table;
  for (int32_t& colour : table) colour = 7;
  fill_colour_table(nullptr, 1, table);
  for (int32_t colour : table) ASSERT_EQ(colour, 0);
}

TEST(ColourTable, ColoursEveryCellInOrder) {
  auto cells = std::make_unique<cell_map>();
  (*cells)[0].assign({1, 0, 0, 0, 1, 0});
  (*cells)[1].assign({1, 0, 0, 2, 1, 0});
  (*cells)[999].assign({1, 1, 0, 0, 0, 0});
  CellColorTable table;
  fill_colour_table(cells.get(), 2, table);
  EXPECT_EQ(table[0], 4);
  EXPECT_EQ(table[1], 5);
  EXPECT_EQ(table[2], 0);
  EXPECT_EQ(table[999], 2);
}

}  // namespace
}  // namespace dravik::testing
