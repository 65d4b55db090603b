// What one file adds to the cells, their file lists, the progress and the
// page, by the shape of its extents.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "files/defrag_date_file.h"
#include "volume/file_extents.h"

namespace dravik::testing {
namespace {

using sim::file_run;
using sim::virtual_lcn;

constexpr uint64_t cluster = 4096;

// count runs of length clusters, the first at first_lcn, each step clusters
// after the one before.
std::vector<file_run> runs(int count, int64_t first_lcn, int64_t step, uint64_t length = 2) {
  std::vector<file_run> result;
  for (int i = 0; i < count; ++i) result.push_back({first_lcn + i * step, length});
  return result;
}

uint64_t clusters_in(const std::vector<file_run>& file) {
  uint64_t total = 0;
  for (const file_run& run : file) total += run.length;
  return total;
}

class AnalysisFile : public AnalysisFixture {
 protected:
  void add(const std::string& path, const std::vector<file_run>& file) {
    sim.add_file(path, clusters_in(file) * cluster, file);
  }
  const std::string& rows() { return engine().report_strings.fragment_rows; }
};

// Catches a contiguous file counted in its first cell only, an off-by-one at
// a cell's last cluster, and a path copied once per cell instead of shared.
TEST_F(AnalysisFile, ContiguousFileFillsEveryCellItCovers) {
  sim.add_volume('C', test_volume(2000));  // 2 clusters per cell: cell k holds 2k+1, 2k+2
  add("C:\\inside.bin", {{3, 2}});         // clusters 3, 4: cell 1 only
  add("C:\\across.bin", {{6, 2}});         // clusters 6, 7: cells 2 and 3
  add("C:\\long.bin", {{101, 10}});        // clusters 101 to 110: cells 50 to 54
  load();
  analyse();

  const std::vector<std::pair<int, cell_counts>> expected = {
      {1, {1, 0, 0, 0, 1, 0}},  {2, {1, 0, 0, 0, 1, 0}},  {3, {1, 0, 0, 0, 1, 0}},
      {50, {1, 0, 0, 0, 1, 0}}, {51, {1, 0, 0, 0, 1, 0}}, {52, {1, 0, 0, 0, 1, 0}},
      {53, {1, 0, 0, 0, 1, 0}}, {54, {1, 0, 0, 0, 1, 0}}};
  EXPECT_EQ(used_cells(), expected);
  EXPECT_EQ(list(3), std::vector<std::string>{"C:\\across.bin"});
  slot_file_lists& lists = engine().file_lists[0];
  for (int index = 51; index <= 54; ++index)
    EXPECT_EQ(lists.list(index).front(), lists.list(50).front()) << "one copy per file";
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 2 + 2 + 10);
  EXPECT_EQ(walk().small_fragment_files, 0);
  EXPECT_EQ(walk().big_fragment_files, 0);
}

// Catches a duplicate path in a cell two extents share, a missing row, and
// extents counted anywhere but in the cell of their first cluster.
TEST_F(AnalysisFile, FileOfElevenSeparateExtentsIsListed) {
  sim.add_volume('C', test_volume(10000));  // 10 clusters per cell
  // Extents at 1 and 5 share cell 0; the others lie in cells 10 to 90.
  std::vector<file_run> file = {{1, 2}, {5, 2}};
  for (const file_run& run : runs(9, 101, 100)) file.push_back(run);
  add("C:\\frag.dat", file);
  load();
  analyse();

  EXPECT_EQ(cell(0), (cell_counts{1, 0, 0, 2, 0, 0}));
  EXPECT_EQ(list(0), std::vector<std::string>{"C:\\frag.dat"});
  for (int index = 10; index <= 90; index += 10) {
    EXPECT_EQ(cell(index), (cell_counts{1, 0, 0, 1, 0, 0})) << index;
    EXPECT_EQ(list(index), std::vector<std::string>{"C:\\frag.dat"}) << index;
  }
  EXPECT_EQ(walk().big_fragment_files, 1);
  EXPECT_NE(rows().find("C:\\frag.dat</div></TD><TD class=foot ><div align=center>11</div>"),
            std::string::npos)
      << rows();
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 22);
}

// Catches settled extents left as fragmented, the touching extent itself left
// out of the move to settled, a row for a file that needs no move, and paths
// removed from the lists when the extents move to settled.
TEST_F(AnalysisFile, ElevenExtentsWithTheLastTwoTouchingAreSettled) {
  sim.add_volume('C', test_volume());
  std::vector<file_run> file = runs(10, 10, 10);  // 10, 20, ..., 100
  file.push_back({102, 2});                       // continues the extent at 100
  add("C:\\touching.dat", file);
  load();
  analyse();

  for (const file_run& run : file) {
    const int index = static_cast<int>(run.lcn) - 1;
    EXPECT_EQ(cell(index), (cell_counts{1, 0, 0, 0, 0, 1})) << index;
    EXPECT_EQ(list(index), std::vector<std::string>{"C:\\touching.dat"}) << index;
  }
  EXPECT_EQ(rows(), "");
  EXPECT_EQ(walk().big_fragment_files, 0);
  EXPECT_EQ(walk().small_fragment_files, 0);
}

// Catches a virtual extent counted, or the real extents before it left as
// fragmented, and system_count kept after the extents moved to settled.
TEST_F(AnalysisFile, VirtualExtentMakesTheRealOnesBeforeItSettled) {
  sim.add_volume('C', test_volume());
  std::vector<file_run> file = runs(5, 10, 10);  // 10 to 50
  file.push_back({virtual_lcn, 4});
  for (const file_run& run : runs(6, 200, 10)) file.push_back(run);
  add("C:\\Windows\\System32\\compressed.dat", file);
  load();
  analyse();

  std::vector<std::pair<int, cell_counts>> expected;
  for (int lcn = 10; lcn <= 50; lcn += 10) expected.push_back({lcn - 1, {1, 1, 0, 0, 0, 1}});
  EXPECT_EQ(used_cells(), expected) << "a settled extent still counts under System32";
  EXPECT_EQ(rows(), "");
}

// Catches the longest free run compared with <= instead of <, and a file too
// large to move counted as small or listed.
TEST_F(AnalysisFile, FileNotSmallerThanTheLongestFreeRunIsNeitherListedNorSmall) {
  sim.add_volume('C', test_volume());
  // Eleven extents of 3 clusters each, one cluster apart; the file sizes say
  // 29 and 30 clusters.
  const std::vector<file_run> first = runs(11, 1, 4, 3);
  const std::vector<file_run> second = runs(11, 101, 4, 3);
  sim.add_file("C:\\fits.dat", 29 * cluster, first);
  sim.add_file("C:\\too_large.dat", 30 * cluster, second);
  // The longest free run: clusters 500 to 529.
  sim.reserve_clusters('C', 45, 56);
  sim.reserve_clusters('C', 145, 355);
  sim.reserve_clusters('C', 530, 470);
  load();
  analyse();

  EXPECT_EQ(walk().longest_free_run, 30u);
  EXPECT_EQ(walk().big_fragment_files, 1);
  EXPECT_EQ(walk().small_fragment_files, 0);
  EXPECT_NE(rows().find("C:\\fits.dat"), std::string::npos);
  EXPECT_EQ(rows().find("too_large"), std::string::npos);
  for (const file_run& run : second) EXPECT_EQ(cell(static_cast<int>(run.lcn) - 1).in_use, 0);
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 29 + 30) << "sizes, not the extents' clusters";
}

// Catches a successful read of no extent, a single virtual extent or a file
// of few extents taken for a contiguous or a listed one, and an extent count
// believed beyond what the answer holds (it would be read past the answer).
TEST_F(AnalysisFile, FewExtentsNoExtentOrOneVirtualExtentCountAsSmall) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\empty_answer.dat", 5 * cluster, {{10, 5}});
  sim.add_file("C:\\lying_answer.dat", 3 * cluster, {{20, 3}});
  sim.add_file("C:\\hole.dat", 8 * cluster, {{virtual_lcn, 8}});
  add("C:\\ten.dat", runs(10, 100, 10));
  io.files_without_extents = {{"C:\\empty_answer.dat", 0}, {"C:\\lying_answer.dat", 5000}};
  load();
  analyse();

  EXPECT_EQ(walk().small_fragment_files, 4);
  EXPECT_EQ(walk().big_fragment_files, 0);
  EXPECT_TRUE(used_cells().empty()) << "small-fragment files touch no cell";
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 5 + 3 + 8 + 20);
}

// Catches progress added for a file that never opened, and a failed extent
// read that adds anything but the file's size.
TEST_F(AnalysisFile, FilesThatCannotBeReadAddOnlyWhatTheyMay) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\locked.dat", 6 * cluster, {{10, 6}});
  sim.set_open_error("C:\\locked.dat", ERROR_SHARING_VIOLATION);
  sim.add_file("C:\\resident.txt", 10000, {});  // no clusters: the read fails
  load();
  analyse();

  EXPECT_EQ(walk().files_scanned, 2u);
  EXPECT_TRUE(used_cells().empty());
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 10000 / cluster);
  EXPECT_EQ(walk().small_fragment_files, 0);
}

// Catches rows listed for a volume defragmented less than two days ago, and
// its cells left unfilled.
TEST_F(AnalysisFile, RecentlyDefraggedVolumeListsNoRowsButFillsItsCells) {
  write("defragdate", std::string(26 * 16, '\0'));
  ASSERT_TRUE(write_defrag_date(folder.file("defragdate"), 0, std::time(nullptr)));
  sim.add_volume('C', test_volume());
  add("C:\\frag.dat", runs(11, 10, 10));
  load();
  analyse();

  EXPECT_EQ(engine().job.recency_state.get(), recency_recent);
  EXPECT_EQ(rows(), "");
  EXPECT_EQ(walk().big_fragment_files, 0);
  EXPECT_EQ(cell(9), (cell_counts{1, 0, 0, 1, 0, 0}));
}

// Catches the FAT offset left out (cluster 0 would fall in the last cell) or
// applied on NTFS, and an NTFS cluster 0 mapped before the first cell.
TEST_F(AnalysisFile, ClusterZeroMapsByTheFileSystemsRule) {
  sim.add_volume('C', test_volume(1000, "FAT32"));  // 1 cluster per cell
  sim.add_volume('D', test_volume(2000, "FAT32"));  // 2 clusters per cell
  sim.add_volume('E', test_volume(1000, "NTFS"));
  for (const char* root : {"C:\\", "D:\\", "E:\\"}) add(std::string(root) + "first.bin", {{0, 1}});
  load();
  analyse('C', 1);
  analyse('D', 2);
  analyse('E', 3);

  const cell_counts contiguous{1, 0, 0, 0, 1, 0};
  EXPECT_EQ(used_cells(0), (std::vector<std::pair<int, cell_counts>>{{1, contiguous}}));
  EXPECT_EQ(used_cells(1), (std::vector<std::pair<int, cell_counts>>{{0, contiguous}}));
  EXPECT_EQ(used_cells(2), (std::vector<std::pair<int, cell_counts>>{{999, contiguous}}));
  EXPECT_EQ(list(999, 2), std::vector<std::string>{"E:\\first.bin"});
}

// Catches a division by zero when the volume's free-space query failed at
// load: its files count as no clusters.
TEST_F(AnalysisFile, ZeroBytesPerClusterCountsFilesAsNoClusters) {
  sim.add_volume('C', test_volume());
  add("C:\\frag.dat", runs(11, 10, 10));
  sim.add_file("C:\\resident.txt", 10000, {});
  io.fail_free_space = true;
  load();
  ASSERT_EQ(engine().volumes[0].bytes_per_cluster, 0u);
  analyse();

  EXPECT_EQ(walk().big_fragment_files, 1) << "0 clusters fit any free run";
  EXPECT_EQ(engine().status.doneUnits.get(), 1u);
}

// Catches an extent answer cut at the buffer's size, and a buffer grown by
// anything but 3,200 bytes per shortage.
TEST_F(AnalysisFile, ExtentBufferGrowsUntilEveryExtentFits) {
  sim.add_volume('C', test_volume());
  add("C:\\many.dat", runs(202, 1, 2, 1));  // 16 + 202 x 16 bytes: one growth
  load();
  analyse();

  EXPECT_EQ(engine().extents.size, 3232u + 3200u);
  EXPECT_EQ(used_cells().size(), 202u);
  EXPECT_EQ(cell(402), (cell_counts{1, 0, 0, 1, 0, 0})) << "the last extent";
}

}  // namespace
}  // namespace dravik::testing
