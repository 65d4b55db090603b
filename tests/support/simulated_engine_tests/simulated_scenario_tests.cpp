// The volumes the simulated build of the engine shows, and that build
// itself: loaded over them, driven through its exports, freed, read back
// from the summary it leaves beside itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "host_process/host_process.h"
#include "scratch_folder/scratch_folder.h"
#include "simulated_engine/simulated_scenario.h"
#include "simulated_engine/volume_summary.h"

namespace dravik::sim::testing {
namespace {

using tessarel::testing::run_host;
using tessarel::testing::scratch_folder;
using tessarel::testing::windows_path;

constexpr std::chrono::milliseconds lock_wait{1000};

std::vector<volume_summary> scenario_summary() {
  simulated_volume sim;
  add_scenario_volumes(sim);
  return summarise_volumes(sim, lock_wait).value();
}

// Catches a scenario that drifts between runs (a seed or a generator that
// depends on the build), or that lacks what the program's messages need:
// fragmented files on C and E, room to defragment on C and E but not on D.
TEST(SimulatedScenario, SameThreeVolumesEveryTimeWithWhatTheJobsNeed) {
  const std::vector<volume_summary> volumes = scenario_summary();
  EXPECT_EQ(scenario_summary(), volumes);

  struct row {
    char letter;
    const char* file_system;
    bool room_to_defragment;
  } rows[] = {{'C', "NTFS", true}, {'D', "NTFS", false}, {'E', "FAT32", true}};
  ASSERT_EQ(volumes.size(), std::size(rows));
  for (size_t i = 0; i < volumes.size(); ++i) {
    const volume_summary& volume = volumes[i];
    SCOPED_TRACE(volume.letter);
    EXPECT_EQ(volume.letter, rows[i].letter);
    EXPECT_EQ(volume.file_system, rows[i].file_system);
    EXPECT_EQ(volume.free_bytes >= scenario_room_to_defragment, rows[i].room_to_defragment);
    EXPECT_TRUE(volume.invariants_hold);
    EXPECT_GT(volume.fragmented_files, volume.unmovable_fragmented_files) << "nothing to move";
  }
  EXPECT_GT(volumes[0].files, 5000u);
}

const std::string built_dll = windows_path(TESSAREL_TEST_SIMULATED_DRAVIK);

std::optional<std::vector<volume_summary>> summary_in(const scratch_folder& folder) {
  const std::optional<std::string> text = folder.read("simulated-volumes.txt");
  if (!text) return std::nullopt;
  return parse_volume_summaries(*text);
}

// Catches volumes installed after the engine's start-up has read them (it
// would then show no volume at all), a summary written before the engine
// let go of them or not at all, and a library that reads or writes beside
// its host instead of beside itself.
TEST(SimulatedEngine, LoadShowsTheScenarioAndUnloadWritesItsSummaryBesideTheLibrary) {
  scratch_folder folder;
  const std::string dll = folder.file("dravik.dll");
  ASSERT_TRUE(CopyFileA(built_dll.c_str(), dll.c_str(), FALSE));

  const HMODULE library = LoadLibraryA(dll.c_str());
  ASSERT_NE(library, nullptr) << "error " << GetLastError();
  using info_export = const void*(__cdecl*)(int);
  const auto info = reinterpret_cast<info_export>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_GetVolumeInfo")));
  ASSERT_NE(info, nullptr);
  EXPECT_NE(info('C'), nullptr);
  EXPECT_NE(info('D'), nullptr);
  EXPECT_NE(info('E'), nullptr);
  EXPECT_EQ(info('Z'), nullptr);
  EXPECT_FALSE(folder.exists("simulated-volumes.txt"));
  ASSERT_TRUE(FreeLibrary(library));

  const auto volumes = summary_in(folder);
  ASSERT_TRUE(volumes) << folder.read("simulated-volumes.txt").value_or("(no file)");
  EXPECT_EQ(*volumes, scenario_summary()) << "nothing ran, so nothing moved";
}

// Catches a simulated build that hands report sets to the shell (a browser
// would open in the middle of a test run) or records them anywhere but
// beside itself, one address per line, in the order the sets came.
TEST(SimulatedEngine, ReportSetsAreRecordedBesideTheLibraryNotOpened) {
  scratch_folder folder;
  const std::string dll = folder.file("dravik.dll");
  ASSERT_TRUE(CopyFileA(built_dll.c_str(), dll.c_str(), FALSE));
  const HMODULE library = LoadLibraryA(dll.c_str());
  ASSERT_NE(library, nullptr) << "error " << GetLastError();
  using show_export = void(__cdecl*)(int);
  const auto show = reinterpret_cast<show_export>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_ShowReport")));
  ASSERT_NE(show, nullptr);
  show(1);
  show(2);
  ASSERT_TRUE(FreeLibrary(library));

  // The engine's application folder is its host's.
  char host[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, host, MAX_PATH);
  std::string address = host;
  address.erase(address.find_last_of('\\') + 1);
  EXPECT_EQ(folder.read("opened-reports.txt").value_or("(no file)"),
            address + "analysisreport.html\n" + address + "defragreport.html\n");
}

// Catches a run command's copy that still records its report sets (a person
// would never see them open) or tests that lose the recording to it.
TEST(SimulatedEngine, ReportSetsGoToTheShellOnlyWhenTheRunCommandSaysSo) {
  scratch_folder folder;
  const std::string dll = folder.file("dravik.dll");
  ASSERT_TRUE(CopyFileA(built_dll.c_str(), dll.c_str(), FALSE));
  folder.write("simulated-open-reports", "");
  const HMODULE library = LoadLibraryA(dll.c_str());
  ASSERT_NE(library, nullptr) << "error " << GetLastError();
  using show_export = void(__cdecl*)(int);
  const auto show = reinterpret_cast<show_export>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_ShowReport")));
  ASSERT_NE(show, nullptr);
  // The test prefix hands pages to a log, never to a browser.
  show(1);
  ASSERT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(folder.exists("opened-reports.txt"));
}

// Catches a summary that does not show what the engine did: after C's
// defragmentation every fragmented file of C that can move lies in one
// extent, the volumes are sound, and D and E are as they were.
TEST(SimulatedEngine, DefragmentationOfCShowsInTheSummary) {
  scratch_folder folder;
  const std::string host = folder.file("simulated_engine_host.exe");
  ASSERT_TRUE(CopyFileA(built_dll.c_str(), folder.file("dravik.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(windows_path(TESSAREL_TEST_SIMULATED_ENGINE_HOST).c_str(), host.c_str(),
                        FALSE));

  EXPECT_EQ(run_host(host, "", folder.path()), 0u)
      << "the host's failed step (see simulated_engine_host.cpp)";

  const auto volumes = summary_in(folder);
  ASSERT_TRUE(volumes) << folder.read("simulated-volumes.txt").value_or("(no file)");
  const std::vector<volume_summary> before = scenario_summary();
  ASSERT_EQ(volumes->size(), 3u);
  const volume_summary& c = (*volumes)[0];
  EXPECT_TRUE(c.invariants_hold) << (c.problems.empty() ? "" : c.problems.front());
  EXPECT_EQ(c.fragmented_files, c.unmovable_fragmented_files);
  EXPECT_LT(c.fragmented_files, before[0].fragmented_files);
  EXPECT_EQ(c.files, before[0].files);
  EXPECT_EQ((*volumes)[1], before[1]);
  EXPECT_EQ((*volumes)[2], before[2]);
}

}  // namespace
}  // namespace dravik::sim::testing
