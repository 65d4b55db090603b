// The summary of simulated volumes the simulated build of the engine writes
// at unload: what it counts, and its text read back.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "simulated_engine/volume_summary.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

// Catches a count that takes a hard link for a second file, calls a file
// fragmented for its virtual extents alone, or calls one movable that the
// engine never reaches or no move can make whole.
TEST(VolumeSummary, CountsFilesExtentsAndWhichFragmentedFilesCanMove) {
  simulated_volume sim;
  sim.add_volume('C', small_ntfs(100));
  sim.reserve_clusters('C', 0, 10);
  sim.add_file("C:\\plain.txt", 8192, {{10, 2}});
  sim.add_hard_link("C:\\plain.txt", "C:\\again.txt");
  sim.add_file("C:\\two.dat", 8192, {{20, 1}, {30, 1}});                      // movable
  sim.add_file("C:\\holey.dat", 12288, {{40, 1}, {virtual_lcn, 1}, {42, 1}});  // virtual
  sim.add_file("C:\\holes.dat", 4096, {{virtual_lcn, 1}});                    // not fragmented
  sim.add_file("C:\\locked.dat", 8192, {{50, 1}, {52, 1}});
  sim.set_open_error("C:\\locked.dat", ERROR_SHARING_VIOLATION);
  sim.add_file("C:\\sparse.dat", 8192, {{54, 1}, {56, 1}}, FILE_ATTRIBUTE_SPARSE_FILE);
  // 24 clusters in two pieces; the longest free run is 17 (clusters 83-99).
  sim.add_file("C:\\big.dat", 24 * 4096, {{58, 12}, {71, 12}});
  sim.add_file("C:\\old cache\\skipped.dat", 8192, {{12, 1}, {14, 1}});  // never walked
  sim.add_directory("C:\\folder");
  sim.add_file("C:\\folder\\empty.txt", 0, {});

  const std::optional<std::vector<volume_summary>> volumes =
      summarise_volumes(sim, std::chrono::milliseconds(1000));
  ASSERT_TRUE(volumes);
  ASSERT_EQ(volumes->size(), 1u);
  const volume_summary& c = volumes->front();
  EXPECT_EQ(c.letter, 'C');
  EXPECT_EQ(c.file_system, "NTFS");
  EXPECT_EQ(c.files, 9u);
  EXPECT_EQ(c.extents, 1u + 2 + 3 + 1 + 2 + 2 + 2 + 2);
  EXPECT_EQ(c.fragmented_files, 6u);
  EXPECT_EQ(c.unmovable_fragmented_files, 5u);
  EXPECT_EQ(c.free_bytes, (100u - 10 - 2 - 2 - 2 - 2 - 2 - 24 - 2) * 4096);
  EXPECT_TRUE(c.invariants_hold);
  EXPECT_TRUE(c.problems.empty());
}

// Catches a summary that reports the volume sound when two files claim one
// cluster, or that copies every broken rule into the file.
TEST(VolumeSummary, BrokenInvariantsAreReportedAndCapped) {
  volume_model volume(small_ntfs(200));
  for (int i = 0; i < 2 * static_cast<int>(summary_problem_limit); ++i) {
    const file_run run{10 + i, 1};
    const node_id file = volume.add_file(root_node, "f" + std::to_string(i), 4096, &run, 1,
                                         FILE_ATTRIBUTE_ARCHIVE, default_file_time);
    volume.set_extents_for_test(file, {{1, 5}});
  }
  const volume_summary summary = summarise_volume('D', volume);
  EXPECT_FALSE(summary.invariants_hold);
  EXPECT_EQ(summary.problems.size(), summary_problem_limit);
}

// Catches a summary at process exit that waits for ever on a lock whose
// owner was ended while holding it.
TEST(VolumeSummary, GivesUpWhenTheVolumesStayLocked) {
  simulated_volume sim;
  sim.add_volume('C', small_ntfs(100));
  std::promise<void> inside, release;
  std::thread holder([&] {
    sim.visit_volumes(
        [&](char, const volume_model&) {
          inside.set_value();
          release.get_future().wait();
        },
        std::chrono::milliseconds(1000));
  });
  inside.get_future().wait();
  EXPECT_FALSE(summarise_volumes(sim, std::chrono::milliseconds(20)));
  release.set_value();
  holder.join();
  EXPECT_TRUE(summarise_volumes(sim, std::chrono::milliseconds(1000)));
}

volume_summary sample(char letter, bool sound) {
  volume_summary v;
  v.letter = letter;
  v.file_system = letter == 'E' ? "FAT32" : "NTFS";
  v.files = 6000;
  v.extents = 7344;
  v.fragmented_files = 431;
  v.unmovable_fragmented_files = 57;
  v.free_bytes = 368766976;
  v.invariants_hold = sound;
  if (!sound) v.problems = {"cluster 5 used twice", "bitmap differs\nat 7"};
  return v;
}

TEST(VolumeSummaryText, ReadsBackWhatItWrote) {
  const std::vector<volume_summary> volumes = {sample('C', true), sample('D', false),
                                               sample('E', true)};
  const std::string text = format_volume_summaries(volumes);
  const auto parsed = parse_volume_summaries(text);
  ASSERT_TRUE(parsed) << text;
  ASSERT_EQ(parsed->size(), 3u);
  EXPECT_EQ((*parsed)[0], volumes[0]);
  EXPECT_EQ((*parsed)[2], volumes[2]);
  // A problem stays one line.
  EXPECT_EQ((*parsed)[1].problems,
            (std::vector<std::string>{"cluster 5 used twice", "bitmap differs at 7"}));
  EXPECT_TRUE(parse_volume_summaries("# nothing yet\r\n\r\n").value().empty());
}

// Catches a reader that takes a damaged or cut file for a summary.
TEST(VolumeSummaryText, RejectsTextNotInItsForm) {
  const char* const texts[] = {
      "C NTFS files=1 extents=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1",
      "C NTFS files=1 extents=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1 "
      "invariants=maybe",
      "C NTFS files=x extents=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1 "
      "invariants=ok",
      "C NTFS files=-1 extents=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1 "
      "invariants=ok",
      "C NTFS extents=1 files=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1 "
      "invariants=ok",
      "c NTFS files=1 extents=1 fragmented_files=0 unmovable_fragmented_files=0 free_bytes=1 "
      "invariants=ok",
      "C problem: before any volume",
      "no summary",
  };
  for (const char* text : texts) EXPECT_FALSE(parse_volume_summaries(text)) << text;
}

}  // namespace
}  // namespace dravik::sim::testing
