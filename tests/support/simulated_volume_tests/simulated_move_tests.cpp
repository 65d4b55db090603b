// FSCTL_MOVE_FILE of the simulator: what it checks, what a move does to the
// bitmap and the extents, the hook before each move, and the invariant check
// that guards all of it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

using runs = std::vector<file_run>;

class SimulatedMoves : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.add_volume('C', small_ntfs(1000));
    sim.reserve_clusters('C', 0, 16);
    sim.add_file("C:\\frag.bin", 12 * 4096, {{100, 4}, {200, 3}, {300, 5}});
    sim.add_file("C:\\other.bin", 10 * 4096, {{500, 10}});
    sim.add_file("C:\\sparse.bin", 8 * 4096, {{600, 2}, {virtual_lcn, 4}, {610, 2}},
                 FILE_ATTRIBUTE_SPARSE_FILE);
    sim.add_volume('D', small_ntfs(100));
    sim.add_file("D:\\elsewhere.bin", 4096, {{10, 1}});
    volume = open_volume(sim, "\\\\.\\C:");
    frag = open_file(sim, "C:\\frag.bin");
    other = open_file(sim, "C:\\other.bin");
    ASSERT_NE(volume, INVALID_HANDLE_VALUE);
    ASSERT_NE(frag, INVALID_HANDLE_VALUE);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
  }

  void TearDown() override {
    sim.close_handle(frag);
    sim.close_handle(other);
    sim.close_handle(volume);
    EXPECT_EQ(sim.open_handle_count(), 0u);
    EXPECT_TRUE(sim.misuse().empty());
    EXPECT_EQ(sim.check_invariants(), std::vector<std::string>{});
  }

  move_result move(HANDLE file, LONGLONG vcn, LONGLONG lcn, DWORD count) {
    return move_clusters(sim, volume, file, vcn, lcn, count);
  }

  simulated_volume sim;
  HANDLE volume = INVALID_HANDLE_VALUE;
  HANDLE frag = INVALID_HANDLE_VALUE;
  HANDLE other = INVALID_HANDLE_VALUE;
};

TEST_F(SimulatedMoves, MovingEachExtentBehindThePreviousLeavesOneExtent) {
  const uint64_t free_before = sim.free_clusters('C');
  ASSERT_TRUE(move(frag, 0, 700, 4).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 4}, {200, 3}, {300, 5}}));
  ASSERT_TRUE(move(frag, 4, 704, 3).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 7}, {300, 5}}))
      << "a moved extent that follows its predecessor merges with it";
  ASSERT_TRUE(move(frag, 7, 707, 5).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 12}}));
  EXPECT_EQ(sim.free_clusters('C'), free_before);
  for (uint64_t lcn : {100, 103, 200, 302, 304}) EXPECT_FALSE(sim.cluster_used('C', lcn)) << lcn;
  for (uint64_t lcn : {700, 711}) EXPECT_TRUE(sim.cluster_used('C', lcn)) << lcn;
  EXPECT_EQ(sim.moves_done(), 3u);
  // TearDown's invariant check also proves every cluster kept its data in order.
}

TEST_F(SimulatedMoves, AMovedExtentMergesWithTheOneAfterIt) {
  ASSERT_TRUE(move(frag, 0, 196, 4).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{196, 7}, {300, 5}}));
}

TEST_F(SimulatedMoves, MovingPartOfAnExtentSplitsIt) {
  ASSERT_TRUE(move(other, 3, 800, 3).ok);
  EXPECT_EQ(sim.runs_of("C:\\other.bin"), (runs{{500, 3}, {800, 3}, {506, 4}}));
  ASSERT_TRUE(move(other, 3, 503, 3).ok) << "and moving it back joins all three again";
  EXPECT_EQ(sim.runs_of("C:\\other.bin"), (runs{{500, 10}}));
}

TEST_F(SimulatedMoves, ARangeAcrossExtentsBecomesOneExtent) {
  ASSERT_TRUE(move(frag, 2, 700, 8).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{100, 2}, {700, 8}, {303, 2}}));
}

TEST_F(SimulatedMoves, RunsThatTouchFromTheStartStayApart) {
  sim.add_file("C:\\touching.bin", 4 * 4096, {{400, 2}, {402, 2}});
  ASSERT_TRUE(move(frag, 0, 700, 4).ok);
  EXPECT_EQ(sim.runs_of("C:\\touching.bin"), (runs{{400, 2}, {402, 2}}));
}

TEST_F(SimulatedMoves, ATargetInUseRefusesTheMoveAndChangesNothing) {
  const uint64_t free_before = sim.free_clusters('C');
  struct row {
    LONGLONG vcn, lcn;
    DWORD count;
  } rows[] = {
      {0, 505, 4},  // onto another file
      {0, 10, 4},   // onto reserved clusters
      {0, 98, 4},   // partly onto the file's own clusters
      {0, 102, 4},  // overlapping itself
      {0, 496, 5},  // free at first, used at the end
  };
  for (const row& r : rows) {
    const move_result result = move(frag, r.vcn, r.lcn, r.count);
    EXPECT_FALSE(result.ok) << r.lcn;
    EXPECT_EQ(result.error, DWORD{ERROR_INVALID_PARAMETER}) << r.lcn;
  }
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{100, 4}, {200, 3}, {300, 5}}));
  EXPECT_EQ(sim.free_clusters('C'), free_before);
  EXPECT_EQ(sim.moves_done(), 0u);
  EXPECT_EQ(sim.move_requests(), 5u);
}

TEST_F(SimulatedMoves, RangesOutsideTheFileOrTheVolumeAreRefused) {
  const HANDLE sparse = open_file(sim, "C:\\sparse.bin");
  struct row {
    HANDLE file;
    LONGLONG vcn, lcn;
    DWORD count;
  } rows[] = {
      {frag, 0, 700, 0},   {frag, 12, 700, 1}, {frag, 10, 700, 5},  {frag, -1, 700, 2},
      {frag, 0, -5, 2},    {frag, 0, 998, 4},  {sparse, 2, 700, 2},  // virtual clusters
      {sparse, 0, 700, 8},  // a range that includes virtual clusters
  };
  for (const row& r : rows) {
    const move_result result = move(r.file, r.vcn, r.lcn, r.count);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, DWORD{ERROR_INVALID_PARAMETER}) << r.vcn << " " << r.count;
  }
  EXPECT_TRUE(move(sparse, 6, 700, 2).ok) << "the real clusters after a hole move";
  EXPECT_EQ(sim.runs_of("C:\\sparse.bin"), (runs{{600, 2}, {virtual_lcn, 4}, {700, 2}}));
  sim.close_handle(sparse);
}

TEST_F(SimulatedMoves, TheRequestMustComeOnTheVolumeAndNameAFileOnIt) {
  const HANDLE elsewhere = open_file(sim, "D:\\elsewhere.bin");
  const HANDLE d_volume = open_volume(sim, "\\\\.\\D:");
  MOVE_FILE_DATA data{};
  data.FileHandle = frag;
  data.StartingLcn.QuadPart = 700;
  data.ClusterCount = 4;
  DWORD returned = 0;
  EXPECT_FALSE(
      sim.device_io_control(frag, FSCTL_MOVE_FILE, &data, sizeof data, nullptr, 0, &returned));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_PARAMETER}) << "sent on a file handle";
  EXPECT_FALSE(sim.device_io_control(volume, FSCTL_MOVE_FILE, &data, 24, nullptr, 0, &returned));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INSUFFICIENT_BUFFER}) << "a short MOVE_FILE_DATA";
  EXPECT_EQ(move_clusters(sim, d_volume, frag, 0, 50, 4).error, DWORD{ERROR_INVALID_PARAMETER})
      << "a file of another volume";
  EXPECT_EQ(move(elsewhere, 0, 700, 1).error, DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_EQ(move(volume, 0, 700, 1).error, DWORD{ERROR_INVALID_PARAMETER}) << "no file at all";
  sim.close_handle(elsewhere);
  EXPECT_EQ(move(elsewhere, 0, 700, 1).error, DWORD{ERROR_INVALID_HANDLE})
      << "a closed file handle";
  sim.close_handle(d_volume);
  EXPECT_EQ(move_clusters(sim, d_volume, frag, 0, 50, 4).error, DWORD{ERROR_INVALID_HANDLE});
  EXPECT_EQ(sim.moves_done(), 0u);
}

TEST_F(SimulatedMoves, TheHookSeesEachRequestBeforeItIsCarriedOut) {
  std::vector<move_request> seen;
  sim.set_move_hook([&](const move_request& request) {
    EXPECT_FALSE(sim.cluster_used('C', static_cast<uint64_t>(request.starting_lcn)))
        << "the hook runs before the clusters move";
    seen.push_back(request);
  });
  ASSERT_TRUE(move(frag, 0, 700, 4).ok);
  ASSERT_TRUE(move(other, 2, 800, 3).ok);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].path, "C:\\frag.bin");
  EXPECT_EQ(seen[0].letter, 'C');
  EXPECT_EQ(seen[0].starting_lcn, 700);
  EXPECT_EQ(seen[0].cluster_count, 4u);
  EXPECT_EQ(seen[0].number, 1u);
  EXPECT_EQ(seen[1].path, "C:\\other.bin");
  EXPECT_EQ(seen[1].starting_vcn, 2);
  EXPECT_EQ(seen[1].number, 2u);
}

TEST_F(SimulatedMoves, AnotherProcessTakingTheTargetMakesTheMoveFail) {
  sim.set_move_hook([&](const move_request& request) {
    if (request.number == 2) {
      sim.take_free_clusters(request.letter, static_cast<uint64_t>(request.starting_lcn), 1);
    }
  });
  ASSERT_TRUE(move(frag, 0, 700, 4).ok);
  const move_result second = move(frag, 4, 704, 3);
  EXPECT_FALSE(second.ok);
  EXPECT_EQ(second.error, DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 4}, {200, 3}, {300, 5}}))
      << "the first move stays done, the second changed nothing";
  EXPECT_TRUE(sim.cluster_used('C', 704));
  EXPECT_TRUE(move(frag, 4, 705, 3).ok) << "the clusters past the taken one are still free";
}

TEST_F(SimulatedMoves, AHookCanStopARunAtTheNthMove) {
  // What an engine test does: the hook raises a stop flag at move 2 and the
  // mover checks the flag before each of its moves.
  std::atomic<bool> stop{false};
  sim.set_move_hook([&](const move_request& request) {
    if (request.number == 2) stop = true;
  });
  int done = 0;
  const LONGLONG vcns[] = {0, 4, 7};
  const DWORD counts[] = {4, 3, 5};
  LONGLONG target = 700;
  for (int i = 0; i < 3 && !stop; ++i) {
    if (move(frag, vcns[i], target, counts[i]).ok) ++done;
    target += counts[i];
  }
  EXPECT_EQ(done, 2) << "the second request was already under way when the stop came";
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 7}, {300, 5}}));
}

TEST_F(SimulatedMoves, ConcurrentMoversKeepTheVolumeConsistent) {
  // Two threads shuttle two files between places; one lock keeps every move
  // whole. The check runs after both finished (TearDown).
  auto shuttle = [&](HANDLE file, DWORD count, LONGLONG a, LONGLONG b) {
    for (int i = 0; i < 200; ++i) {
      EXPECT_TRUE(move(file, 0, i % 2 ? a : b, count).ok);
    }
  };
  ASSERT_TRUE(move(frag, 0, 700, 12).ok);
  std::thread first(shuttle, frag, 12, 700, 720);
  std::thread second(shuttle, other, 10, 500, 850);
  first.join();
  second.join();
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (runs{{700, 12}}));
  EXPECT_EQ(sim.runs_of("C:\\other.bin"), (runs{{500, 10}}));
}

// The invariant check itself, on a volume model broken on purpose.
class VolumeInvariants : public ::testing::Test {
 protected:
  void SetUp() override {
    const file_run a[] = {{10, 4}};
    const file_run b[] = {{20, 4}};
    first = model.add_file(root_node, "a", 4 * 4096, a, 1, 0, 0);
    second = model.add_file(root_node, "b", 4 * 4096, b, 1, 0, 0);
    model.reserve(0, 2);
    std::vector<std::string> problems;
    model.check(problems);
    EXPECT_TRUE(problems.empty());
  }
  std::vector<std::string> problems() const {
    std::vector<std::string> found;
    model.check(found);
    return found;
  }
  volume_model model{small_ntfs(64)};
  node_id first = no_node;
  node_id second = no_node;
};

TEST_F(VolumeInvariants, NoticesABitmapBitNobodyOwns) {
  model.bitmap_for_test().flip_for_test(40);
  const auto found = problems();
  ASSERT_FALSE(found.empty());
  EXPECT_NE(found[0].find("cluster 40"), std::string::npos) << found[0];
}

TEST_F(VolumeInvariants, NoticesAClusterOwnedTwice) {
  model.set_extents_for_test(second, {{4, 12}});
  const auto found = problems();
  ASSERT_FALSE(found.empty());
  EXPECT_NE(found[0].find("owned twice"), std::string::npos) << found[0];
}

TEST_F(VolumeInvariants, NoticesDataOutOfOrder) {
  // Two extents of the same clusters, swapped: bitmap and ownership still
  // agree, only the content tags tell.
  model.set_extents_for_test(first, {{2, 12}, {4, 10}});
  const auto found = problems();
  ASSERT_FALSE(found.empty());
  EXPECT_NE(found[0].find("does not hold VCN"), std::string::npos) << found[0];
}

TEST_F(VolumeInvariants, NoticesExtentsShorterThanTheFile) {
  model.set_extents_for_test(first, {{2, 10}});
  bool short_file = false;
  for (const std::string& line : problems())
    short_file |= line.find("do not cover") != std::string::npos;
  EXPECT_TRUE(short_file);
}

}  // namespace
}  // namespace dravik::sim::testing
