// The movers of the defragmentation walk: which files are moved, where they
// go, what a refused or stopped move leaves, and what the cells and the
// page's rows show afterwards. The simulator checks after every test that
// no cluster is owned twice, the bitmap equals the extents and every moved
// cluster still holds its file's data in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "defrag/defrag_fixture.h"

namespace dravik::testing {
namespace {

using sim::file_run;
using Runs = std::vector<file_run>;

class FileMover : public DefragFixture {
 protected:
  void TearDown() override {
    EXPECT_TRUE(messages.texts.empty()) << "a test volume without room";
    DefragFixture::TearDown();
  }
};

// Catches a run chosen by first fit or by the largest run instead of the
// shortest that holds the file, a later run of equal length taken over the
// lowest, a call per cluster instead of per extent, and a row that shows the
// extent count after the move or the size from the file size alone.
TEST_F(FileMover, MovesIntoTheShortestRunThatHoldsTheFileWholeAndListsIt) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 50);   // free: 50-54 (5 clusters)
  sim.reserve_clusters('C', 55, 5);   // free: 60-63 (4)
  sim.reserve_clusters('C', 64, 6);   // free: 70-73 (4)
  sim.reserve_clusters('C', 74, 6);   // file at 80-81 and 83-84, free 82
  sim.reserve_clusters('C', 85, 15);  // free: 100-999
  sim.add_file("C:\\frag.bin", 200000, {{83, 2}, {80, 2}});
  load();
  defragment();

  EXPECT_EQ(runs("C:\\frag.bin"), (Runs{{60, 4}}));
  EXPECT_EQ(sim.move_requests(), 2u) << "one call per extent";
  EXPECT_EQ(rows(),
            "<TR><TD class=foot><div align=left>C:\\frag.bin</div></TD><TD class=foot ><div "
            "align=center>2</div></TD><TD class=foot><div align=center>196 KB</div></TD><TD "
            "class=foot><div align=center>4</div></TD><TD class=foot><div "
            "align=center>0</div></TD></TR>");
  EXPECT_EQ(walk().big_fragment_files, 1);
}

// Catches a file moved although its extents already touch (the file system
// reports them apart), although it lies in one extent or has a virtual one,
// and a file that cannot be opened being touched at all.
TEST_F(FileMover, LeavesFilesThatNeedNoMoveOrCannotBeOpened) {
  sim.add_volume('C', roomy_volume());
  sim.add_file("C:\\touching.bin", 4 * 65536, {{100, 2}, {102, 2}});
  sim.add_file("C:\\one.bin", 3 * 65536, {{110, 3}});
  sim.add_file("C:\\hole.bin", 4 * 65536, {{120, 1}, {-1, 2}, {130, 1}});
  sim.add_file("C:\\locked.bin", 2 * 65536, {{140, 1}, {150, 1}});
  sim.set_open_error("C:\\locked.bin", ERROR_SHARING_VIOLATION);
  load();
  defragment();

  EXPECT_EQ(sim.move_requests(), 0u);
  EXPECT_EQ(runs("C:\\touching.bin"), (Runs{{100, 2}, {102, 2}}));
  EXPECT_EQ(runs("C:\\locked.bin"), (Runs{{140, 1}, {150, 1}}));
  EXPECT_EQ(rows(), "");
  EXPECT_EQ(walk().big_fragment_files, 0);
  EXPECT_EQ(walk().files_scanned, 4u);
}

// Catches a file moved in part into a run too short for it, and a row for a
// file that stayed.
TEST_F(FileMover, AFileLargerThanEveryFreeRunStays) {
  sim.add_volume('C', roomy_volume(1100));
  sim.reserve_clusters('C', 0, 100);
  for (uint64_t lcn = 300; lcn < 1100; lcn += 100) sim.reserve_clusters('C', lcn, 1);
  sim.add_file("C:\\big.bin", 101 * 65536, {{100, 50}, {200, 51}});  // longest run: 99
  load();
  defragment();

  EXPECT_EQ(sim.move_requests(), 0u);
  EXPECT_EQ(runs("C:\\big.bin"), (Runs{{100, 50}, {200, 51}}));
  EXPECT_EQ(rows(), "");
  EXPECT_TRUE(engine().work.free_runs_by_length.empty());
}

// Catches a refused move counted as a success, the extents moved before it
// taken back or left half-recorded, and a refusal that ends the walk.
TEST_F(FileMover, ARefusedMoveEndsOnlyThatFile) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);  // free: 100-999 but for the files
  add_file("C:\\a.bin", scattered(200, 3));
  add_file("C:\\b.bin", scattered(300, 3));
  sim.set_move_hook([this](const sim::move_request& request) {
    if (request.number == 2) sim.take_free_clusters('C', request.starting_lcn, 1);
  });
  load();
  defragment();

  EXPECT_EQ(runs("C:\\a.bin"), (Runs{{205, 1}, {202, 1}, {204, 1}}));
  EXPECT_EQ(runs("C:\\b.bin").size(), 1u) << "the walk went on";
  EXPECT_EQ(row_count(), 1u);
  EXPECT_EQ(rows().find("a.bin"), std::string::npos);
  EXPECT_EQ(walk().interrupted, 0);
}

// Catches a mover that takes as its target clusters an earlier move of the
// walk has just freed: NTFS refuses them until its next checkpoint, although
// its bitmap shows them free, so the file's moves stop part-way and it stays
// fragmented without a row. Each file's old place, with the four free
// clusters before it, is the shortest run that holds the next file; every
// file must still end whole, in clusters no move has freed, with its row,
// and none in more extents than it had.
TEST_F(FileMover, ClustersTheWalkFreedAreNoTargetWhileTheFileSystemHoldsThem) {
  sim.add_volume('C', roomy_volume(2000));
  const std::vector<std::string> files = {"C:\\a.bin", "C:\\b.bin", "C:\\c.bin",
                                          "C:\\d.bin"};
  sim.reserve_clusters('C', 0, 200);
  for (int64_t i = 0; i < 4; ++i) {
    const int64_t base = 200 + 100 * i;  // base to base + 3 free
    add_file(files[static_cast<size_t>(i)], {{base + 8, 4}, {base + 4, 4}});
    sim.reserve_clusters('C', static_cast<uint64_t>(base + 12), 88);
  }
  sim.reserve_clusters('C', 600, 400);  // free: 1000-1999
  sim.hold_freed_clusters('C', true);
  // Each file's two extents free one range between them, in reverse order.
  size_t ranges_at_last_move = 0;
  sim.set_move_hook([this, &ranges_at_last_move](const sim::move_request&) {
    ranges_at_last_move = engine().mover.freed_by_walk.range_count();
  });
  load();
  defragment();

  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(runs(files[i]), (Runs{{1000 + 8 * static_cast<int64_t>(i), 8}})) << files[i];
    EXPECT_LE(runs(files[i]).size(), 2u) << files[i];
  }
  EXPECT_EQ(sim.moves_done(), sim.move_requests()) << "a move was refused";
  EXPECT_EQ(row_count(), files.size());
  EXPECT_EQ(walk().big_fragment_files, 4);
  EXPECT_EQ(sim.held_clusters('C'), 32u);
  EXPECT_EQ(ranges_at_last_move, 4u) << "adjacent freed ranges kept apart";
  EXPECT_TRUE(engine().mover.freed_by_walk.empty()) << "kept past the volume's walk";
}

// One volume of 2000 clusters with 800 free, the least that is defragmented:
// 200 reserved clusters, then maybe a big file walked first, then ten small
// ones, each in two extents out of order, so that its old place becomes one
// free run once it has moved; the free clusters last.
struct nearly_full_case {
  char letter;
  const char* file_system;
  bool hold_freed;   // NTFS keeps what a move frees until a checkpoint
  bool checkpoints;  // one before every move
  uint64_t big_clusters;
  uint64_t small_clusters;
  size_t least_whole;
  size_t most_ranges;  // in the record of freed clusters at any move
};

// Catches clusters a move freed held back where the file system does not
// hold them (FAT then loses most of a nearly full volume), an NTFS mover that
// never falls back on them when nothing else holds a file (nothing more moves
// once the moved files add up to the free space), one that prefers them (a
// held run is refused for every later file), a refusal retried or not
// counted, a file left in more extents than it had, and freed ranges side by
// side kept apart in the record (or any kept on FAT).
TEST_F(FileMover, OnANearlyFullVolumeWhatMovesFreedServesLaterFilesWhereTheFileSystemAllows) {
  const nearly_full_case cases[] = {
      {'C', "FAT32", false, false, 0, 100, 10, 0},
      {'D', "FAT32", false, false, 800, 20, 11, 0},
      {'E', "NTFS", true, false, 0, 100, 8, 2},
      {'F', "NTFS", true, true, 0, 100, 10, 2},
  };
  std::vector<std::string> paths;  // each in two extents
  for (const nearly_full_case& c : cases) {
    sim.add_volume(c.letter, roomy_volume(2000, c.file_system));
    sim.reserve_clusters(c.letter, 0, 200);
    const std::string folder = std::string(1, c.letter) + ":\\Program Files\\";
    int64_t base = 200;
    if (c.big_clusters != 0) {
      const int64_t half = static_cast<int64_t>(c.big_clusters / 2);
      paths.push_back(folder + "a big file.bin");
      add_file(folder + "a big file.bin",
               {{base + half, c.big_clusters / 2}, {base, c.big_clusters / 2}});
      base += static_cast<int64_t>(c.big_clusters);
    }
    for (int i = 0; i < 10; ++i) {
      const std::string path = folder + "small " + std::to_string(i) + ".bin";
      const int64_t half = static_cast<int64_t>(c.small_clusters / 2);
      paths.push_back(path);
      add_file(path, {{base + half, c.small_clusters / 2}, {base, c.small_clusters / 2}});
      base += static_cast<int64_t>(c.small_clusters);
    }
    ASSERT_EQ(base, 1200) << c.letter;
    sim.hold_freed_clusters(c.letter, c.hold_freed);
  }
  char checkpointed = 0;
  size_t most_ranges = 0;
  sim.set_move_hook([this, &checkpointed, &most_ranges](const sim::move_request& request) {
    if (request.letter == checkpointed) sim.checkpoint(request.letter);
    most_ranges = std::max(most_ranges, engine().mover.freed_by_walk.range_count());
  });
  load();

  for (const nearly_full_case& c : cases) {
    checkpointed = c.checkpoints ? c.letter : 0;
    most_ranges = 0;
    const uint64_t requests = sim.move_requests();
    const uint64_t done = sim.moves_done();
    defragment(c.letter);
    size_t files = 0;
    size_t whole = 0;
    for (const std::string& path : paths) {
      if (path[0] != c.letter) continue;
      ++files;
      whole += runs(path).size() == 1 ? 1 : 0;
      EXPECT_LE(runs(path).size(), 2u) << path;
    }
    const uint64_t refused = (sim.move_requests() - requests) - (sim.moves_done() - done);
    EXPECT_GE(whole, c.least_whole) << c.letter << ": " << whole << " of " << files << " whole";
    EXPECT_EQ(row_count(), whole) << c.letter;
    EXPECT_EQ(engine().mover.refused_moves, refused) << c.letter;
    EXPECT_LE(refused, files - whole) << c.letter << ": a refused file tried again";
    // The old places lie side by side: one range, and the last file's first.
    EXPECT_EQ(most_ranges, c.most_ranges) << c.letter << ": freed ranges kept apart";
    EXPECT_TRUE(engine().mover.freed_by_walk.empty()) << c.letter << ": kept past the walk";
    std::printf("[ layout   ] %c: %s, %zu of %zu files whole, %llu moves refused\n", c.letter,
                c.file_system, whole, files, static_cast<unsigned long long>(refused));
  }
}

// Catches a failed bitmap read taken for free space (a move into clusters
// nobody checked) or ending the walk: that file stays without a row, the next
// one is moved.
TEST_F(FileMover, ABitmapReadThatFailsLeavesOnlyThatFile) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a.bin", scattered(200, 3));
  add_file("C:\\b.bin", scattered(300, 3));
  add_file("C:\\c.bin", scattered(400, 3));
  sim.set_move_hook([this](const sim::move_request& request) {
    if (request.number == 1) sim.fail_bitmap_reads('C', ERROR_NOT_READY, 1);  // b's read
  });
  load();
  defragment();

  EXPECT_EQ(runs("C:\\a.bin").size(), 1u);
  EXPECT_EQ(runs("C:\\b.bin"), scattered(300, 3));
  EXPECT_EQ(runs("C:\\c.bin").size(), 1u);
  EXPECT_EQ(row_count(), 2u);
  EXPECT_EQ(rows().find("b.bin"), std::string::npos);
}

// Catches an extent list cut at the buffer's first size (the file then
// counted as moved after its first fragments) and a buffer that does not
// grow: 300 extents need more than the mover's first 80,000-byte step.
TEST_F(FileMover, AFileOf300ExtentsEndsInOne) {
  sim.add_volume('C', roomy_volume(2000));
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\many.bin", scattered(1000, 300, 1, 3));
  load();
  defragment();

  EXPECT_EQ(runs("C:\\many.bin").size(), 1u);
  EXPECT_EQ(sim.moves_done(), 300u);
  EXPECT_EQ(row_count(), 1u);
  EXPECT_GT(engine().extents.size, extent_buffer::initial_size);
}

// Catches a file counted as moved because every call succeeded, although
// the file system did not carry one of them out: the row and the count
// follow what the file system reports afterwards.
TEST_F(FileMover, AMoveAcceptedOnlyInPartIsNoSuccess) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a.bin", scattered(200, 3));
  int moves = 0;
  io.pretend_move = [&moves](const MOVE_FILE_DATA&) { return ++moves == 2; };
  load();
  defragment();

  EXPECT_EQ(runs("C:\\a.bin"), (Runs{{100, 1}, {202, 1}, {102, 1}}));
  EXPECT_EQ(rows(), "");
  EXPECT_EQ(walk().big_fragment_files, 0);
}

// Catches a read-only file passed over by the movers, and the cells of a file
// whose only attribute is read-only changed by its move.
TEST_F(FileMover, ReadOnlyFilesAreMovedAndKeepTheirCellsOnlyWhenReadOnlyIsAlone) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a.bin", scattered(100, 3), FILE_ATTRIBUTE_READONLY);
  add_file("C:\\b.bin", scattered(110, 3), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  load();
  defragment();

  EXPECT_EQ(runs("C:\\a.bin"), (Runs{{105, 3}}));
  // Not into a's old place: the walk's moves have just freed it.
  EXPECT_EQ(runs("C:\\b.bin"), (Runs{{115, 3}}));
  EXPECT_EQ(row_count(), 2u);
  const cell_counts contiguous{1, 0, 0, 0, 1, 0};
  const std::vector<std::pair<int, cell_counts>> expected = {
      {114, contiguous}, {115, contiguous}, {116, contiguous}};
  EXPECT_EQ(used_cells(), expected) << "only b.bin's new place";
}

// Catches the size test of the large volumes missing from the movers, or off
// by one: there a moved file of 1,048,576 bytes or less changes no cell.
class FileMoverOnALargeVolume : public DefragFixture,
                                public ::testing::WithParamInterface<uint64_t> {};

TEST_P(FileMoverOnALargeVolume, ChangesCellsOnlyForFilesAboveOneMebibyte) {
  const uint64_t size = GetParam();
  sim.add_volume('C', roomy_volume(20000));
  sim.reserve_clusters('C', 0, 16385);  // more than 1 GiB in use
  std::vector<file_run> extents = scattered(17000, 10);
  extents.push_back({17100, (size + 65535) / 65536 - 10});
  add_file("C:\\file.bin", extents, FILE_ATTRIBUTE_ARCHIVE, size);
  load();
  analyse();
  const auto after_analysis = used_cells();
  defragment();

  ASSERT_EQ(runs("C:\\file.bin").size(), 1u);
  EXPECT_EQ(used_cells() != after_analysis, size > 1048576);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileMoverOnALargeVolume, ::testing::Values(1048576, 1048577));

// Catches the movers drawing a map that a fresh analysis of the volume would
// not: fragments left in the old cells, new cells not marked, the FAT offset
// missed on either side. Files of more than 10 extents take their fragments
// out; smaller ones only mark their new place.
class FileMoverCells : public DefragFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(FileMoverCells, AreThoseOfAFreshAnalysisAfterTheMoves) {
  const bool ntfs = std::string(GetParam()) == "NTFS";
  sim.add_volume('C', roomy_volume(1000, GetParam()));
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\eleven.bin", scattered(400, 11));
  add_file("C:\\three.bin", scattered(600, 3));
  load();
  analyse();
  ASSERT_EQ(cell(ntfs ? 399 : 401).fragmented_count, 1);
  defragment();
  ASSERT_EQ(walk().big_fragment_files, 2);
  EXPECT_EQ(runs("C:\\eleven.bin"), (Runs{{421, 11}}));
  EXPECT_EQ(runs("C:\\three.bin"), (Runs{{432, 3}}));
  const auto after_moves = used_cells();
  analyse();
  EXPECT_EQ(after_moves, used_cells());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, FileMoverCells, ::testing::Values("NTFS", "FAT32"));

}  // namespace
}  // namespace dravik::testing
