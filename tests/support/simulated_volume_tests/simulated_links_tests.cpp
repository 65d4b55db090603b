// Hard links, file symbolic links and the holding of freed clusters until a
// checkpoint, as the engine meets them on NTFS.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

using runs = std::vector<file_run>;
using extent_runs = std::vector<std::pair<int64_t, uint64_t>>;

class SimulatedLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.add_volume('C', small_ntfs(1000));
    sim.reserve_clusters('C', 0, 16);
    sim.add_file("C:\\dir\\a.bin", 7 * 4096, {{100, 4}, {200, 3}});
    sim.add_hard_link("C:\\dir\\a.bin", "C:\\other\\b.bin");
    sim.add_file("C:\\plain.bin", 5 * 4096, {{300, 5}});
    sim.add_volume('D', small_ntfs(100));
    sim.add_file("D:\\target.bin", 2 * 4096, {{10, 2}});
    sim.add_file_symlink("C:\\near.lnk", "C:\\plain.bin");
    sim.add_file_symlink("C:\\far.lnk", "D:\\target.bin");
    sim.add_file_symlink("C:\\dangling.lnk", "C:\\missing.bin");
    sim.add_file_symlink("C:\\loop1", "C:\\loop2");
    sim.add_file_symlink("C:\\loop2", "C:\\loop1");
    volume = open_volume(sim, "\\\\.\\C:");
    ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  }

  void TearDown() override {
    sim.close_handle(volume);
    EXPECT_EQ(sim.open_handle_count(), 0u);
    EXPECT_TRUE(sim.misuse().empty());
    EXPECT_EQ(sim.check_invariants(), std::vector<std::string>{});
  }

  WIN32_FIND_DATAA listed(const char* path) {
    WIN32_FIND_DATAA data{};
    const HANDLE search = sim.find_first_file(path, &data);
    EXPECT_NE(search, INVALID_HANDLE_VALUE) << path;
    if (search != INVALID_HANDLE_VALUE) sim.find_close(search);
    return data;
  }

  move_result move(HANDLE file, LONGLONG vcn, LONGLONG lcn, DWORD count) {
    return move_clusters(sim, volume, file, vcn, lcn, count);
  }

  simulated_volume sim;
  HANDLE volume = INVALID_HANDLE_VALUE;
};

TEST_F(SimulatedLinks, AHardLinkIsListedUnderBothNamesWithOneSetOfClusters) {
  const WIN32_FIND_DATAA a = listed("C:\\dir\\a.bin");
  const WIN32_FIND_DATAA b = listed("C:\\other\\b.bin");
  EXPECT_EQ(b.dwFileAttributes, a.dwFileAttributes);
  EXPECT_EQ(b.nFileSizeLow, 7u * 4096);
  EXPECT_EQ(b.ftLastWriteTime.dwLowDateTime, a.ftLastWriteTime.dwLowDateTime);
  EXPECT_EQ(b.ftLastWriteTime.dwHighDateTime, a.ftLastWriteTime.dwHighDateTime);
  EXPECT_EQ(sim.runs_of("C:\\other\\b.bin"), (runs{{100, 4}, {200, 3}}));
  EXPECT_EQ(sim.free_clusters('C'), 1000u - 16 - 7 - 5) << "the clusters count once";
}

TEST_F(SimulatedLinks, AMoveThroughEitherNameMovesTheOneFile) {
  const std::pair<const char*, const char*> rows[] = {{"C:\\dir\\a.bin", "C:\\other\\b.bin"},
                                                      {"C:\\other\\b.bin", "C:\\dir\\a.bin"}};
  LONGLONG target = 700;
  for (const auto& [opened, other] : rows) {
    const HANDLE file = open_file(sim, opened);
    ASSERT_TRUE(move(file, 0, target, 7).ok) << opened;
    const HANDLE through_other = open_file(sim, other);
    EXPECT_EQ(runs_in(read_extents(sim, through_other, 0, 4096)), (extent_runs{{target, 7}}));
    EXPECT_EQ(sim.runs_of(opened), (runs{{target, 7}}));
    sim.close_handle(through_other);
    sim.close_handle(file);
    target += 10;
  }
}

TEST_F(SimulatedLinks, RemovingANameKeepsTheFileUntilItsLastNameGoes) {
  sim.add_hard_link("C:\\other\\b.bin", "C:\\third.bin");
  const uint64_t free_before = sim.free_clusters('C');
  sim.remove("C:\\dir\\a.bin");  // the name the file was made with
  EXPECT_EQ(sim.runs_of("C:\\other\\b.bin"), (runs{{100, 4}, {200, 3}}));
  EXPECT_EQ(sim.check_invariants(), std::vector<std::string>{});
  const HANDLE file = open_file(sim, "C:\\third.bin");
  ASSERT_TRUE(move(file, 0, 700, 7).ok) << "the names left still open the file";
  sim.close_handle(file);
  sim.remove("C:\\third.bin");
  EXPECT_EQ(sim.runs_of("C:\\other\\b.bin"), (runs{{700, 7}}));
  EXPECT_EQ(sim.free_clusters('C'), free_before);
  sim.remove("C:\\other\\b.bin");
  EXPECT_EQ(sim.free_clusters('C'), free_before + 7);
}

TEST_F(SimulatedLinks, HardLinksToDirectoriesLinksOrOtherVolumesAreTestMistakes) {
  EXPECT_THROW(sim.add_hard_link("C:\\dir", "C:\\dir2"), std::invalid_argument);
  EXPECT_THROW(sim.add_hard_link("C:\\dir\\a.bin", "D:\\a.bin"), std::invalid_argument);
  EXPECT_THROW(sim.add_hard_link("C:\\near.lnk", "C:\\near2.lnk"), std::invalid_argument);
}

TEST_F(SimulatedLinks, ASymbolicLinkIsListedAsAReparsePointWithoutData) {
  const WIN32_FIND_DATAA link = listed("C:\\far.lnk");
  EXPECT_EQ(link.dwFileAttributes, DWORD{FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(link.nFileSizeLow, 0u);
  EXPECT_EQ(link.dwReserved0, DWORD{IO_REPARSE_TAG_SYMLINK});
}

TEST_F(SimulatedLinks, OpeningASymbolicLinkFollowsItUnlessAskedForTheLink) {
  struct row {
    const char* name;
    DWORD flags;
    DWORD open_error;
    extent_runs extents;  // empty: no clusters (ERROR_HANDLE_EOF)
    LONGLONG size;
  } rows[] = {
      {"C:\\near.lnk", 0, 0, {{300, 5}}, 5 * 4096},
      {"C:\\far.lnk", 0, 0, {{10, 2}}, 2 * 4096},
      {"C:\\near.lnk", FILE_FLAG_OPEN_REPARSE_POINT, 0, {}, 0},
      {"C:\\dangling.lnk", 0, ERROR_FILE_NOT_FOUND, {}, 0},
      {"C:\\dangling.lnk", FILE_FLAG_OPEN_REPARSE_POINT, 0, {}, 0},
      {"C:\\loop1", 0, ERROR_CANT_RESOLVE_FILENAME, {}, 0},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(std::string(r.name) + (r.flags ? " as itself" : ""));
    const HANDLE file = sim.create_file(r.name, 0, 0, OPEN_EXISTING, r.flags);
    if (r.open_error != 0) {
      EXPECT_EQ(file, INVALID_HANDLE_VALUE);
      EXPECT_EQ(sim.get_last_error(), r.open_error);
      continue;
    }
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const control_result answer = read_extents(sim, file, 0, 4096);
    if (r.extents.empty()) {
      EXPECT_EQ(answer.error, DWORD{ERROR_HANDLE_EOF});
      const std::vector<std::string> open{"volume \\\\.\\C:",
                                          std::string("symbolic link ") + r.name};
      EXPECT_EQ(sim.open_handles(), open) << "the handle is the link's own";
    } else {
      EXPECT_EQ(runs_in(answer), r.extents);
    }
    LARGE_INTEGER size{};
    EXPECT_TRUE(sim.get_file_size_ex(file, &size));
    EXPECT_EQ(size.QuadPart, r.size);
    sim.close_handle(file);
  }
}

TEST_F(SimulatedLinks, AMoveOfAFileOnAnotherVolumeIsRefused) {
  const HANDLE elsewhere = open_file(sim, "C:\\far.lnk");
  const move_result result = move(elsewhere, 0, 700, 2);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_EQ(sim.runs_of("D:\\target.bin"), (runs{{10, 2}}));
  EXPECT_EQ(sim.moves_done(), 0u);
  sim.close_handle(elsewhere);
}

TEST_F(SimulatedLinks, ClustersAMoveFreesAreHeldUntilACheckpoint) {
  sim.hold_freed_clusters('C', true);
  const HANDLE plain = open_file(sim, "C:\\plain.bin");
  const HANDLE a = open_file(sim, "C:\\dir\\a.bin");
  ASSERT_TRUE(move(plain, 0, 700, 5).ok);
  EXPECT_EQ(sim.held_clusters('C'), 5u);
  const control_result bitmap = read_bitmap(sim, volume, 0, 4096);
  EXPECT_EQ(as_bitmap(bitmap).Buffer[300 / 8] & 0xF0, 0) << "clusters 300 to 303 show free";
  EXPECT_EQ(sim.take_free_clusters('C', 300, 5), 0u);
  for (const LONGLONG target : {300, 304, 296}) {
    EXPECT_EQ(move(a, 0, target, 5).error, DWORD{ERROR_INVALID_PARAMETER}) << target;
  }
  EXPECT_EQ(sim.runs_of("C:\\dir\\a.bin"), (runs{{100, 4}, {200, 3}}));
  sim.checkpoint('C');
  EXPECT_EQ(sim.held_clusters('C'), 0u);
  ASSERT_TRUE(move(a, 0, 300, 4).ok) << "free for reuse after the checkpoint";
  EXPECT_EQ(sim.held_clusters('C'), 4u) << "holding goes on";
  sim.hold_freed_clusters('C', false);
  EXPECT_EQ(sim.held_clusters('C'), 0u);
  EXPECT_TRUE(move(a, 4, 100, 3).ok) << "turning holding off releases the clusters";
  sim.close_handle(a);
  sim.close_handle(plain);
}

TEST(VolumeInvariantsOfHeldClusters, NoticesAHeldClusterInUse) {
  volume_model model{small_ntfs(64)};
  const file_run run[] = {{10, 4}};
  const node_id file = model.add_file(root_node, "a", 4 * 4096, run, 1, 0, 0);
  model.set_holding(true);
  ASSERT_EQ(model.move(file, 0, 20, 4), 0u);
  model.bitmap_for_test().flip_for_test(11);
  std::vector<std::string> problems;
  model.check(problems);
  bool noticed = false;
  for (const std::string& line : problems) noticed |= line.find("held") != std::string::npos;
  EXPECT_TRUE(noticed);
}

}  // namespace
}  // namespace dravik::sim::testing
