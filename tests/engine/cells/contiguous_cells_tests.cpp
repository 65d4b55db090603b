// The cells an extent covers, and the marking of a file that has just become
// contiguous.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_counts_compare.h"
#include "cells/contiguous_cells.h"
#include "simulated_volume/simulated_volume.h"
#include "state/volume_handle.h"

namespace dravik::testing {
namespace {

struct extent_case {
  const char* name;
  int64_t lcn;
  uint64_t length;
  uint64_t clusters_per_cell;
  int64_t lcn_offset;
  std::vector<int64_t> cells;
};

std::vector<int64_t> cells_of(const extent_case& c) {
  cell_cursor cursor;
  cursor.clusters_per_cell = c.clusters_per_cell;
  std::vector<int64_t> cells;
  for_each_cell_of_extent(cursor, c.lcn, c.length, c.lcn_offset,
                          [&] { cells.push_back(cursor.cell_index); });
  return cells;
}

// Catches an off-by-one at either end of a cell (cell k holds clusters
// kC + 1 to (k + 1)C), a walk past the last cell, and the FAT offset applied
// to the count of clusters instead of to the cell alone.
TEST(ExtentCells, EachCellAnExtentReachesIsVisitedOnce) {
  const extent_case cases[] = {
      {"within one cell", 11, 10, 10, 0, {1}},
      {"last cluster of a cell, then one more", 10, 2, 10, 0, {0, 1}},
      {"exactly two cells", 1, 20, 10, 0, {0, 1}},
      {"one cluster into a third cell", 1, 21, 10, 0, {0, 1, 2}},
      {"cluster 0 on NTFS: the last cell alone", 0, 5, 1, 0, {999}},
      {"the end of the map is not passed", 9995, 20, 10, 0, {999}},
      {"FAT: cluster 0 is cluster 2", 0, 1, 1, 2, {1}},
      {"FAT: cluster 0 with 2 per cell", 0, 1, 2, 2, {0}},
      // FAT counts the clusters to the cell's end from the LCN as read: an
      // extent spilling up to four clusters into the next cell stays in one.
      {"FAT: a spill of four clusters", 6, 7, 10, 2, {0}},
      {"FAT: a spill of five clusters", 6, 8, 10, 2, {0, 1}},
  };
  for (const extent_case& c : cases) EXPECT_EQ(cells_of(c), c.cells) << c.name;
}

class MarkContiguousCells : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::volume_geometry geometry;
    geometry.total_clusters = 1000;
    sim.add_volume('C', geometry);
    previous_ = install_volume_io(&sim);
    cursor.clusters_per_cell = 10;
    cursor.cells = &cells;
  }
  void TearDown() override {
    file.close();
    install_volume_io(previous_);
    EXPECT_EQ(sim.open_handle_count(), 0u);
  }
  void hold(const char* path) {
    file.reset(sim.create_file(path, 0, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(file.is_open()) << path;
  }
  std::vector<int> used() const {
    std::vector<int> indexes;
    for (int i = 0; i < cells_per_volume; ++i)
      if (cells[i].in_use != 0) indexes.push_back(i);
    return indexes;
  }

  sim::simulated_volume sim;
  cell_cursor cursor;
  extent_buffer extents;
  volume_handle file;  // the file a mover would hold
  cell_map cells;

 private:
  volume_io* previous_ = nullptr;
};

// Catches a moved file left unmarked, system_count ignored, and the FAT
// offset left out.
TEST_F(MarkContiguousCells, FileInOneExtentMarksEveryCellItCovers) {
  sim.add_file("C:\\moved.bin", 3 * 4096, {{20, 3}});
  hold("C:\\moved.bin");
  cursor.in_system_folder = 1;
  mark_contiguous_cells_ntfs(cursor, extents, file.get());  // clusters 20 to 22
  EXPECT_EQ(used(), (std::vector<int>{1, 2}));
  EXPECT_EQ(cells[2].counts(), (cell_counts{1, 1, 0, 0, 1, 0}));

  for (cluster_cell& cell : cells) cell.assign({});
  cursor.in_system_folder = 0;
  mark_contiguous_cells_fat(cursor, extents, file.get());  // clusters 22 to 24
  EXPECT_EQ(used(), (std::vector<int>{2}));
  EXPECT_EQ(cells[2].counts(), (cell_counts{1, 0, 0, 0, 1, 0}));
}

// Catches a file marked while still in pieces, in a virtual extent, or when
// its extents cannot be read.
TEST_F(MarkContiguousCells, FileNotInOneRealExtentMarksNothing) {
  sim.add_file("C:\\two.bin", 2 * 4096, {{20, 1}, {40, 1}});
  sim.add_file("C:\\hole.bin", 2 * 4096, {{sim::virtual_lcn, 2}});
  sim.add_file("C:\\resident.txt", 100, {});
  for (const char* path : {"C:\\two.bin", "C:\\hole.bin", "C:\\resident.txt"}) {
    hold(path);
    mark_contiguous_cells_ntfs(cursor, extents, file.get());
    EXPECT_TRUE(used().empty()) << path;
  }
}

}  // namespace
}  // namespace dravik::testing
