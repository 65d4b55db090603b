#include <gtest/gtest.h>

#include <memory>

#include "cell_counts_compare.h"
#include "cells/cell_updates.h"

namespace dravik::testing {
namespace {

class CellUpdates : public ::testing::Test {
 protected:
  cell_counts at(size_t index) const { return (*cells)[index].counts(); }

  std::unique_ptr<cell_map> cells = std::make_unique<cell_map>();
  cell_cursor cursor{cells.get(), 10, 0};
};

// Catches a kind counted into the wrong counter.
TEST_F(CellUpdates, EachKindCountsItsOwnCounter) {
  add_to_cell(cursor, contribution_fragmented);
  add_to_cell(cursor, contribution_contiguous);
  add_to_cell(cursor, contribution_contiguous);
  add_to_cell(cursor, contribution_settled);
  add_to_cell(cursor, 3);  // an unknown kind only marks the cell used
  EXPECT_EQ(at(10), (cell_counts{1, 0, 0, 1, 2, 1}));
}

// Catches system_count counted outside "system32" or not at all inside it.
TEST_F(CellUpdates, SystemFolderCountsEveryContribution) {
  cursor.in_system_folder = 1;
  add_to_cell(cursor, contribution_fragmented);
  add_to_cell(cursor, 7);
  EXPECT_EQ(at(10), (cell_counts{1, 2, 0, 1, 0, 0}));
}

// Catches a write outside the map: an index outside 0..999 lands on cell 999
// and the cursor keeps the corrected index.
TEST_F(CellUpdates, OutsideIndexesLandOnTheLastCell) {
  for (int64_t index : {int64_t{-1}, int64_t{1000}, int64_t{1} << 40}) {
    cursor.cell_index = index;
    add_to_cell(cursor, contribution_contiguous);
    EXPECT_EQ(cursor.cell_index, 999);
  }
  EXPECT_EQ(at(999).contiguous_count, 3);
  cursor.cell_index = -5;
  remove_contiguous_from_cell(cursor);
  EXPECT_EQ(at(999).contiguous_count, 2);
}

// Catches counters going negative and in_use left set on an emptied cell.
TEST_F(CellUpdates, RemovalsStopAtZeroAndRecomputeInUse) {
  cursor.in_system_folder = 1;
  add_to_cell(cursor, contribution_fragmented);
  remove_fragmented_from_cell(cursor);
  EXPECT_EQ(at(10), (cell_counts{0, 0, 0, 0, 0, 0}));
  remove_fragmented_from_cell(cursor);
  remove_contiguous_from_cell(cursor);
  EXPECT_EQ(at(10), (cell_counts{0, 0, 0, 0, 0, 0}));
}

// Catches in_use recomputed from the removed counter alone: any other
// non-zero counter, the saved reserved one included, keeps the cell in use.
TEST_F(CellUpdates, InUseStaysWhileAnyCounterRemains) {
  struct keep_case {
    cell_counts before;
    cell_counts after;
  };
  const keep_case cases[] = {
      {{1, 0, 0, 1, 1, 0}, {1, 0, 0, 0, 1, 0}},
      {{1, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 0, 1}},
      {{1, 0, 4, 1, 0, 0}, {1, 0, 4, 0, 0, 0}},
      {{1, 2, 0, 1, 0, 0}, {1, 2, 0, 0, 0, 0}},  // not under "system32": system stays
      {{0, 0, 0, 2, 0, 0}, {1, 0, 0, 1, 0, 0}},  // a stale in_use 0 is corrected
  };
  for (const keep_case& c : cases) {
    (*cells)[10].assign(c.before);
    remove_fragmented_from_cell(cursor);
    EXPECT_EQ(at(10), c.after) << c.before;
  }
}

TEST_F(CellUpdates, RemoveContiguousLeavesFragmentedAlone) {
  cursor.in_system_folder = 1;
  (*cells)[10].assign({1, 1, 0, 3, 1, 0});
  remove_contiguous_from_cell(cursor);
  EXPECT_EQ(at(10), (cell_counts{1, 0, 0, 3, 0, 0}));
}

}  // namespace
}  // namespace dravik::testing
