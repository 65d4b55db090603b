// Loading and unloading the engine over simulated volumes: what start-up
// records per fixed drive, what unload writes back, and that nothing is left
// open or created.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "cell_counts_compare.h"
#include "dravik/option_exports.h"
#include "core/engine_lifetime.h"
#include "options/exclusion_lists.h"
#include "recording_volume_io.h"
#include "simulated_volume/simulated_volume.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

constexpr size_t record = 24000;

sim::volume_geometry volume_of(uint64_t clusters, const char* file_system = "NTFS",
                               DWORD sectors_per_cluster = 8) {
  sim::volume_geometry geometry;
  geometry.total_clusters = clusters;
  geometry.file_system = file_system;
  geometry.sectors_per_cluster = sectors_per_cluster;
  return geometry;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class EngineLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    // As the shipped 32-bit build on 64-bit Windows: every open and search
    // made with the file system redirection on is misuse.
    sim.set_wow64(true);
    previous = install_volume_io(&sim);
  }
  void TearDown() override {
    unload_engine();
    install_volume_io(previous);
    EXPECT_EQ(sim.open_handle_count(), 0u) << joined(sim.open_handles());
    EXPECT_TRUE(sim.misuse().empty()) << joined(sim.misuse());
  }

  bool load() { return load_engine({folder.file("Tessarel.exe")}); }
  engine_state& engine() { return *current_engine(); }
  cell_counts cell(int slot, int index) { return (*engine().volumes[slot].cells)[index].counts(); }

  scratch_folder folder;
  sim::simulated_volume sim;
  volume_io* previous = nullptr;
};

// Catches drives outside C to Z enumerated, drives that are not fixed
// recorded, and slot tables filled at the wrong index.
TEST_F(EngineLoad, RecordsEveryFixedDriveFromCToZ) {
  sim.add_volume('A', volume_of(500));
  sim.add_volume('C', volume_of(1001));
  sim.reserve_clusters('C', 0, 101);
  sim.add_volume('D', volume_of(2000, "FAT32", 4));
  sim.add_volume('E', volume_of(300), DRIVE_REMOVABLE);
  sim.add_drive('F', DRIVE_CDROM);
  sim.add_volume('Z', volume_of(5000));
  ASSERT_TRUE(load());

  const engine_state& e = engine();
  EXPECT_EQ(e.globals.application_folder, folder.path());
  EXPECT_EQ(e.globals.host_executable_path, folder.file("Tessarel.exe"));
  EXPECT_EQ(e.globals.fixed_volume_count, 3);
  EXPECT_EQ(sim.open_handle_count(), 3u) << "only C, D and Z are opened";

  const struct {
    int slot;
    const char* letter;
    const char* file_system;
    uint32_t bytes_per_cluster;
    uint64_t used, free, per_cell;
  } mapped[] = {
      {0, "C", "NTFS", 4096, 101, 900, 2},
      {1, "D", "FAT32", 2048, 0, 2000, 2},
      {23, "Z", "NTFS", 4096, 0, 5000, 5},
  };
  for (const auto& m : mapped) {
    const volume_table_entry& entry = e.volumes[m.slot];
    EXPECT_EQ(e.volumes[m.slot].letter_string, m.letter);
    EXPECT_TRUE(e.volumes[m.slot].handle.is_open()) << m.letter;
    EXPECT_EQ(entry.file_system_name, m.file_system);
    EXPECT_EQ(entry.bytes_per_cluster, m.bytes_per_cluster);
    EXPECT_EQ(entry.used_clusters, m.used);
    EXPECT_EQ(entry.free_clusters, m.free);
    EXPECT_EQ(entry.clusters_per_cell, m.per_cell);
    EXPECT_NE(entry.cells, nullptr);
  }
  for (int slot : {2, 3, 4, 22, 24, 25}) {
    EXPECT_EQ(e.volumes[slot].cells, nullptr) << slot;
    EXPECT_FALSE(e.volumes[slot].handle.is_open()) << slot;
    EXPECT_EQ(e.volumes[slot].letter_string, "") << slot;
    EXPECT_EQ(e.volumes[slot].file_system_name, "") << slot;
  }
}

// Catches 32-bit size products and rounded texts.
TEST_F(EngineLoad, SizeTextsAreCutAndComputedIn64Bits) {
  sim.add_volume('C', volume_of(122096646));  // 465.761719 GiB
  sim.reserve_clusters('C', 0, 2000000);      // 7.63 GiB used: past 2^32 bytes
  sim.add_volume('D', volume_of(131072));     // exactly 0.5 GiB
  ASSERT_TRUE(load());
  EXPECT_EQ(engine().volumes[0].total_size_text, "465.7 GB");
  EXPECT_EQ(engine().volumes[0].used_size_text, "7.6 GB");
  EXPECT_EQ(engine().volumes[0].clusters_per_cell, 122097u);
  EXPECT_EQ(engine().volumes[1].total_size_text, "0.5 GB");
  EXPECT_EQ(engine().volumes[1].used_size_text, "0.0 GB");
}

// Catches a fixed drive dropped because its volume did not open or its
// queries failed: it is counted, keeps its saved cells and writes them back,
// but has no map.
TEST_F(EngineLoad, FixedDriveWithoutMapKeepsAndSavesItsCells) {
  std::vector<uint8_t> disk_data(26 * record, 0);
  disk_data[record + 7 * 24] = 1;       // D, cell 7: in use
  disk_data[record + 7 * 24 + 16] = 3;  // contiguous 3
  folder.write("diskdata", disk_data);
  sim.add_volume('C', volume_of(1000));
  sim.add_volume('D', volume_of(1000));
  sim.set_volume_open_error('D', ERROR_ACCESS_DENIED);
  sim.add_drive('G', DRIVE_FIXED);  // no medium: every query fails
  ASSERT_TRUE(load());

  engine_state& e = engine();
  EXPECT_EQ(e.globals.fixed_volume_count, 3);
  EXPECT_FALSE(e.volumes[1].handle.is_open());
  EXPECT_EQ(e.volumes[1].letter_string, "");
  EXPECT_EQ(e.volumes[1].clusters_per_cell, 0u);
  EXPECT_EQ(cell(1, 7), (cell_counts{1, 0, 0, 0, 3, 0}));
  EXPECT_EQ(e.volumes[4].file_system_name, "");
  EXPECT_EQ(e.volumes[4].total_size_text, "0.0 GB");
  EXPECT_NE(e.volumes[4].cells, nullptr);

  (*e.volumes[1].cells)[8].assign({1, 0, 0, 2, 0, 0});
  unload_engine();
  const std::vector<uint8_t> saved = folder.read_bytes("diskdata");
  disk_data[record + 8 * 24] = 1;
  disk_data[record + 8 * 24 + 12] = 2;
  EXPECT_TRUE(saved == disk_data);
}

// Catches a volume kept open (or kept looking mapped) after its bitmap could
// not be read.
TEST_F(EngineLoad, BitmapFailureLeavesTheVolumeWithoutMap) {
  sim.add_volume('C', volume_of(1000));
  sim.fail_bitmap_reads('C', ERROR_INVALID_FUNCTION);
  ASSERT_TRUE(load());
  EXPECT_EQ(sim.open_handle_count(), 0u);
  EXPECT_EQ(engine().volumes[0].letter_string, "");
  EXPECT_EQ(engine().globals.fixed_volume_count, 1);
  EXPECT_NE(engine().volumes[0].cells, nullptr);
  EXPECT_EQ(engine().volumes[0].clusters_per_cell, 0u);
}

// Catches a start-up that reads a bitmap more than once per volume, or grows
// the buffer again for a smaller volume.
TEST_F(EngineLoad, BitmapBufferGrowsOnceFromTheHeaderSize) {
  sim.add_volume('C', volume_of(4000));
  sim.add_volume('D', volume_of(1000));
  recording_volume_io recorder(sim);
  install_volume_io(&recorder);
  ASSERT_TRUE(load());
  install_volume_io(&sim);
  ASSERT_EQ(recorder.bitmap_reads.size(), 3u);
  EXPECT_EQ(recorder.bitmap_reads[0].out_size, 24u);
  EXPECT_EQ(recorder.bitmap_reads[1].out_size, 4000u / 8 + 25);
  EXPECT_EQ(recorder.bitmap_reads[2].out_size, 4000u / 8 + 25);
  EXPECT_EQ(engine().work.bitmap.buffer_size(), 4000u / 8 + 25);
}

// Catches maps restored from or saved to the wrong offset, and bytes of other
// slots disturbed: a load and unload without change leave "diskdata" as it was.
TEST_F(EngineLoad, DiskdataRoundTripsByteExactPerSlot) {
  std::vector<uint8_t> disk_data(26 * record);
  for (size_t i = 0; i < disk_data.size(); ++i) disk_data[i] = static_cast<uint8_t>(i * 7 % 251);
  folder.write("diskdata", disk_data);
  sim.add_volume('C', volume_of(1000));
  sim.add_volume('E', volume_of(1000));
  ASSERT_TRUE(load());

  const uint8_t* slot2 = disk_data.data() + 2 * record;
  const int32_t first = static_cast<int32_t>(slot2[0] | slot2[1] << 8 | slot2[2] << 16 |
                                             static_cast<uint32_t>(slot2[3]) << 24);
  EXPECT_EQ(cell(2, 0).in_use, first);
  unload_engine();
  EXPECT_TRUE(folder.read_bytes("diskdata") == disk_data);
}

// Catches the unload creating either of its files: both must exist already.
TEST_F(EngineLoad, UnloadNeverCreatesDiskdataOrSetting) {
  sim.add_volume('C', volume_of(1000));
  ASSERT_TRUE(load());
  unload_engine();
  EXPECT_FALSE(folder.exists("diskdata"));
  EXPECT_FALSE(folder.exists("Setting"));
}

// Catches options that start-up does not read, exports left unbound while
// loaded or bound after the unload, and flags not written back.
TEST_F(EngineLoad, StartUpReadsTheOptionsAndUnloadWritesThemBack) {
  folder.write("Setting", {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1});
  const std::string preset = "[folder]\r\nTemp\r\n[file]\r\n[type]";
  folder.write("preset.ini", std::vector<uint8_t>(preset.begin(), preset.end()));
  sim.add_volume('C', volume_of(1000));
  ASSERT_TRUE(load());

  EXPECT_EQ(engine().options.auto_run_flag, 1);
  EXPECT_EQ(engine().options.logout_flag, 0);
  EXPECT_EQ(engine().options.companion_run_flag, 1);
  EXPECT_TRUE(DLL_GetAutoRun());
  EXPECT_TRUE(DLL_GetRestart());
  EXPECT_FALSE(DLL_GetLogout());
  ASSERT_EQ(engine().options.excluded_folders.size(), builtin_excluded_folders.size() + 1);
  EXPECT_EQ(engine().options.excluded_folders.back(), "Temp");
  EXPECT_FALSE(engine().report_strings.analysis_summary_block.empty());

  engine().options.logout_flag = 1;
  engine().options.restart_flag = 0;
  unload_engine();
  EXPECT_FALSE(DLL_GetAutoRun());
  EXPECT_EQ(folder.read_bytes("Setting"),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1}));
}

// Catches state that survives an unload, handles that leak, and an
// application object left reachable: the engine must load and unload any
// number of times in one process.
TEST_F(EngineLoad, LoadsAndUnloadsManyTimes) {
  sim.add_volume('C', volume_of(1000));
  sim.add_volume('D', volume_of(3000));
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(load()) << round;
    EXPECT_EQ(AfxGetApp(), &engine().app);
    EXPECT_EQ(engine().globals.fixed_volume_count, 2);
    EXPECT_EQ(sim.open_handle_count(), 2u);
    unload_engine();
    EXPECT_EQ(current_engine(), nullptr);
    EXPECT_EQ(AfxGetApp(), nullptr);
    ASSERT_EQ(sim.open_handle_count(), 0u) << round;
  }
}

TEST_F(EngineLoad, ASecondLoadIsRefused) {
  ASSERT_TRUE(load());
  engine_state* first = current_engine();
  EXPECT_FALSE(load());
  EXPECT_EQ(current_engine(), first);
}

// A worker as the engine's workers behave: it polls the stop flag and clears
// its pointer as its last act.
class fake_worker {
 public:
  fake_worker(engine_state& engine, std::atomic<bool>& release)
      : engine_(engine), release_(release) {
    engine.job.stop_requested = 0;
    engine.job.analysis_worker = reinterpret_cast<CWinThread*>(this);
    thread_ = std::thread([this] { run(); });
  }
  ~fake_worker() { thread_.join(); }

  std::atomic<bool> finished{false};

 private:
  void run() {
    while (engine_.job.stop_requested == 0 || !release_) Sleep(1);
    // Still the worker's: the cells must not have been freed yet.
    (*engine_.volumes[0].cells)[0].assign({1, 0, 0, 0, 1, 0});
    finished = true;
    engine_.job.analysis_worker = nullptr;
  }

  engine_state& engine_;
  std::atomic<bool>& release_;
  std::thread thread_;
};

// Catches an unload that frees the maps under a running worker, or saves
// them before the worker's last update.
TEST_F(EngineLoad, UnloadStopsAndWaitsForARunningWorker) {
  folder.write("diskdata", std::vector<uint8_t>(record, 0));
  sim.add_volume('C', volume_of(1000));
  ASSERT_TRUE(load());
  std::atomic<bool> release{true};
  fake_worker worker(engine(), release);
  unload_engine();
  EXPECT_TRUE(worker.finished);
  EXPECT_EQ(folder.read_bytes("diskdata")[0], 1) << "the worker's last update is saved";
}

// Catches an unload that hangs on a worker that does not stop, or that frees
// what that worker still uses.
TEST_F(EngineLoad, UnloadGivesUpWaitingButLeavesTheWorkersStateAlone) {
  sim.add_volume('C', volume_of(1000));
  ASSERT_TRUE(load());
  engine_state* abandoned = current_engine();
  std::atomic<bool> release{false};
  {
    fake_worker worker(engine(), release);
    unload_engine(std::chrono::milliseconds(20));
    EXPECT_EQ(current_engine(), nullptr);
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_FALSE(worker.finished);
    release = true;
  }
  // The worker has ended; the state it was left is this test's to free.
  delete abandoned;
}

}  // namespace
}  // namespace dravik::testing
