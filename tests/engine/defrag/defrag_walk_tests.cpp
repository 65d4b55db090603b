// The defragmentation walk: what it enters and hands to the movers, the
// system-folder flag it gives them, the progress it counts, and what the
// movers of an optimised run record for the optimisation pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "defrag/defrag_fixture.h"
#include "defrag/defrag_walk.h"
#include "options/exclusion_lists.h"
#include "volume/volume_access.h"

namespace dravik::testing {
namespace {

using sim::file_run;
using Runs = std::vector<file_run>;

class DefragWalk : public DefragFixture {};

// One entry of the optimisation set.
struct recorded {
  uint64_t clusters;
  std::string path;
  uint64_t position;
  bool operator==(const recorded& other) const {
    return clusters == other.clusters && path == other.path && position == other.position;
  }
};

std::ostream& operator<<(std::ostream& out, const recorded& entry) {
  return out << "{" << entry.clusters << ", " << entry.path.substr(0, 30) << ", "
             << entry.position << "}";
}

// Catches folders excluded by whole name or ignoring case (this walk skips
// a folder whose name contains an entry, as it stands), read-only entries
// passed over, sparse files moved, a junction followed, and progress that
// leaves out files or counts sparse ones.
TEST_F(DefragWalk, MovesEverythingButSparseFilesAndFoldersContainingAnEntry) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\webcache\\a.bin", scattered(200, 2));
  add_file("C:\\Cache\\b.bin", scattered(210, 2));
  add_file("C:\\myskipper\\c.bin", scattered(220, 2));
  add_file("C:\\SKIP\\d.bin", scattered(230, 2));
  sim.add_directory("C:\\ro", FILE_ATTRIBUTE_READONLY);
  add_file("C:\\ro\\e.bin", scattered(240, 2), FILE_ATTRIBUTE_READONLY);
  add_file("C:\\sparse.bin", scattered(250, 2), FILE_ATTRIBUTE_SPARSE_FILE);
  sim.add_directory("C:\\link", FILE_ATTRIBUTE_REPARSE_POINT);
  sim.set_junction_target("C:\\link", "C:\\Cache");
  load();
  engine().options.excluded_folders.push_back("skip");
  defragment();

  EXPECT_EQ(walk().directories_scanned, 6u);
  EXPECT_EQ(walk().files_scanned, 4u) << "b, d, e and sparse.bin";
  for (const char* moved : {"C:\\Cache\\b.bin", "C:\\SKIP\\d.bin", "C:\\ro\\e.bin"})
    EXPECT_EQ(runs(moved).size(), 1u) << moved;
  for (const char* stayed : {"C:\\webcache\\a.bin", "C:\\myskipper\\c.bin", "C:\\sparse.bin"})
    EXPECT_EQ(runs(stayed).size(), 2u) << stayed;
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 3 * 2);
  EXPECT_EQ(engine().status.totalUnits.get(), engine().volumes[0].used_clusters);
}

// Catches the flag taken from the analysis's case-insensitive test: here a
// path must contain "system32" as it stands for the moved file's new cells
// to count as system ones.
TEST_F(DefragWalk, SystemFolderFlagNeedsTheExactCase) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\Windows\\System32\\a.dll", scattered(200, 3));
  add_file("C:\\x\\system32\\b.dll", scattered(300, 3));
  load();
  defragment();

  ASSERT_EQ(runs("C:\\Windows\\System32\\a.dll"), (Runs{{205, 3}}));
  ASSERT_EQ(runs("C:\\x\\system32\\b.dll"), (Runs{{208, 3}}));
  for (int index : {204, 205, 206}) EXPECT_EQ(cell(index), (cell_counts{1, 0, 0, 0, 1, 0}));
  for (int index : {207, 208, 209}) EXPECT_EQ(cell(index), (cell_counts{1, 1, 0, 0, 1, 0}));
}

// What the movers of an optimised run leave in the set, read before any pass
// takes entries out: the volume bound as the defragmentation binds it.
class DefragRecording : public DefragFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  std::vector<recorded> walk_recording() {
    volume_table_entry& volume = engine().volumes[0];
    EXPECT_TRUE(compute_cell_size(engine().work.bitmap, volume.handle.get(), engine().cursor));
    engine().job.working_slot = 0;
    engine().job.bytes_per_cluster = volume.bytes_per_cluster;
    engine().cursor.cells = volume.cells.get();
    defrag_records records{engine().job,    engine().status, engine().volumes,
                           engine().walk,   engine().cursor, engine().extents,
                           engine().work,   engine().mover,  engine().report_strings};
    records.optimize_set = &engine().optimize_set;
    defrag_tree(records, choose_analysis_variant(volume.file_system_name,
                                                 volume.bytes_per_cluster, volume.used_clusters));
    engine().cursor.cells = nullptr;
    std::vector<recorded> entries;
    for (const auto& [clusters, entry] : engine().optimize_set)
      entries.push_back({clusters, entry.path, entry.position});
    free_optimize_set(engine().optimize_set);
    return entries;
  }
};

// Catches unmoved files recorded without the FAT offset or moved ones with
// it, the largest-first order or the insertion order of equal sizes lost, a
// virtual single extent left out, a fragmented file that stayed recorded,
// and a path cut to a fixed record size (the longest ANSI path takes more
// than 500 bytes).
TEST_P(DefragRecording, RecordsFilesInOneExtentLargestFirst) {
  const bool ntfs = std::string(GetParam()) == "NTFS";
  const int64_t offset = ntfs ? 0 : 2;
  sim.add_volume('C', roomy_volume(1000, GetParam()));
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a_one.bin", {{500, 5}});
  add_file("C:\\b_frag.bin", scattered(200, 3));
  add_file("C:\\c_one.bin", {{510, 5}});
  add_file("C:\\d_big.bin", {{600, 40}});
  add_file("C:\\e_stays.bin", {{700, 2}, {702, 2}});
  // 259 characters, the most an ANSI path holds, but 509 bytes in code
  // page 936.
  std::string folder_name;
  for (int i = 0; i < 120; ++i) folder_name += "碎";
  const std::string long_path =
      "C:\\" + folder_name + "\\" + folder_name + "\\长长长长长长长长长长.bin";
  ASSERT_EQ(long_path.size(), 509u);
  add_file(long_path, {{800, 1}});
  if (ntfs) sim.add_file("C:\\f_hole.bin", 65536, {{-1, 1}});
  load();
  std::vector<recorded> expected = {
      {40, "C:\\d_big.bin", uint64_t(600 + offset)},
      {5, "C:\\a_one.bin", uint64_t(500 + offset)},
      {5, "C:\\c_one.bin", uint64_t(510 + offset)},
      {3, "C:\\b_frag.bin", 505}};
  if (ntfs) expected.push_back({1, "C:\\f_hole.bin", ~uint64_t{0}});
  expected.push_back({1, long_path, uint64_t(800 + offset)});
  EXPECT_EQ(walk_recording(), expected);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, DefragRecording, ::testing::Values("NTFS", "FAT32"));

}  // namespace
}  // namespace dravik::testing
