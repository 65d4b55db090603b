// The run command's settings of the simulated build: the pace of its volume
// calls and the switch that opens report sets instead of recording them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "scratch_folder/scratch_folder.h"
#include "simulated_engine/paced_volume_io.h"
#include "simulated_engine/run_settings.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using tessarel::testing::scratch_folder;

// Catches a setting that paces with a misread number (a typo pacing the
// whole run by a second a call, or nothing at all), or a bad file taken
// for part of a pace.
TEST(VolumePace, ParsesReadAndMoveCostsAndRefusesAnythingElse) {
  struct row {
    const char* text;
    bool valid;
    long long read_us;
    long long move_us;
  } rows[] = {
      {"read 150\nmove 3000\n", true, 150, 3000},
      {"move 3000\r\nread 150\r\n", true, 150, 3000},
      {"# the run command's pace\n\n  read 20  \n", true, 20, 0},
      {"move 1000000", true, 0, 1000000},
      {"read 0\nmove 0", true, 0, 0},
      {"", false, 0, 0},
      {"# nothing\n", false, 0, 0},
      {"read", false, 0, 0},
      {"read fast", false, 0, 0},
      {"read 15x", false, 0, 0},
      {"read -1", false, 0, 0},
      {"move 1000001", false, 0, 0},
      {"read 150\nwalk 10", false, 0, 0},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    const std::optional<volume_pace> pace = parse_volume_pace(r.text);
    ASSERT_EQ(pace.has_value(), r.valid);
    if (!pace) continue;
    EXPECT_EQ(pace->per_read, microseconds(r.read_us));
    EXPECT_EQ(pace->per_move, microseconds(r.move_us));
  }
}

// Catches pacing that changes what the volumes answer, that costs the
// program's drive queries, that is not paid in full (nothing to watch), or
// that is paid in long sleeps (a stop waits for them).
TEST(PacedVolumeIo, ForwardsEveryCallAndSleepsItsCostInShortSlices) {
  simulated_volume sim;
  sim.add_volume('C', small_ntfs(1000));
  sim.add_file("C:\\frag.bin", 8 * 4096, {{100, 4}, {200, 4}});
  std::vector<milliseconds> sleeps;
  paced_volume_io paced(sim, volume_pace{microseconds(500), microseconds(3000)},
                        [&sleeps](milliseconds time) {
                          sleeps.push_back(time);
                          return std::chrono::duration_cast<microseconds>(time);
                        });
  const auto slept = [&sleeps] {
    microseconds total{0};
    for (const milliseconds time : sleeps) total += time;
    return total;
  };

  for (int i = 0; i < 1000; ++i) paced.get_drive_type("C:\\");
  DWORD sectors = 0, bytes = 0, free = 0, total = 0;
  EXPECT_TRUE(paced.get_disk_free_space("C:\\", &sectors, &bytes, &free, &total));
  EXPECT_EQ(total, 1000u);
  EXPECT_TRUE(sleeps.empty()) << "questions about drives cost nothing";

  EXPECT_EQ(paced.create_file("C:\\missing.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(paced.get_last_error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  const HANDLE volume = open_volume(paced, "\\\\.\\C:");
  const HANDLE file = open_file(paced, "C:\\frag.bin");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(runs_in(read_extents(paced, file, 0, 4096)),
              (std::vector<std::pair<int64_t, uint64_t>>{{100, 4}, {200, 4}}));
  }
  EXPECT_TRUE(move_clusters(paced, volume, file, 4, 104, 4).ok);
  EXPECT_EQ(sim.runs_of("C:\\frag.bin"), (std::vector<file_run>{{100, 8}}));
  paced.close_handle(file);
  paced.close_handle(volume);
  EXPECT_EQ(sim.open_handle_count(), 0u);

  // 43 reads at 0.5 ms and a move at 3 ms, give or take the 2 ms this
  // thread may have owed before or still owes.
  EXPECT_GE(slept(), microseconds(43 * 500 + 3000 - 2000));
  EXPECT_LE(slept(), microseconds(43 * 500 + 3000 + 2000));
  for (const milliseconds time : sleeps) EXPECT_LE(time, milliseconds(5));
}

std::wstring wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// Catches a run command's setting the library does not find beside itself,
// a broken pace file taken as some pace, and the switch read from its
// contents rather than its presence.
TEST(RunSettings, ReadBesideTheLibraryAndLeftOffByDefault) {
  scratch_folder folder;
  const std::wstring path = wide(folder.path());
  run_settings settings = read_run_settings(path);
  EXPECT_FALSE(settings.pace);
  EXPECT_FALSE(settings.open_reports);

  folder.write("simulated-pace.txt", "read 150\nmove 3000\n");
  folder.write("simulated-open-reports", "");
  settings = read_run_settings(path);
  ASSERT_TRUE(settings.pace);
  EXPECT_EQ(*settings.pace, (volume_pace{microseconds(150), microseconds(3000)}));
  EXPECT_TRUE(settings.open_reports);

  folder.write("simulated-pace.txt", "slow\n");
  EXPECT_FALSE(read_run_settings(path).pace);
  folder.write("simulated-pace.txt", std::string(5000, '#'));
  EXPECT_FALSE(read_run_settings(path).pace) << "a long file is not a setting";
}

}  // namespace
}  // namespace dravik::sim::testing
