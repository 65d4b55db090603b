// The volume exports through their C interface, over simulated volumes:
// volumes without a map, letters outside C to Z, cell indexes out of range,
// the recency that colours follow, one file's extents and a volume's facts.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "files/defrag_date_file.h"
#include "dravik/run_exports.h"
#include "dravik/volume_exports.h"
#include "loaded_engine.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::testing {
namespace {

using sim::testing::small_ntfs;

class VolumeExports : public LoadedEngine {
 protected:
  void SetUp() override {
    LoadedEngine::SetUp();
    sim.add_volume('C', small_ntfs());  // 4096 bytes per cluster
    sim::volume_geometry fat = sim::testing::small_fat(4000);
    fat.sectors_per_cluster = 4;  // 2048 bytes per cluster
    sim.add_volume('D', fat);
    sim.add_volume('E', small_ntfs());
    sim.set_volume_open_error('E', ERROR_ACCESS_DENIED);  // fixed, but without a map
    sim.add_file("C:\\docs\\report.doc", 10000, {{100, 3}});
    sim.add_file("C:\\docs\\split.bin", 4 * 4096, {{200, 2}, {300, 2}});
    sim.add_file("C:\\docs\\empty.txt", 0, {});
  }

  // A cell of slot whose counters make it fragmented (colour 5, or 1 on a
  // recently defragmented volume).
  void make_fragmented(int slot, int cell) {
    (*engine().volumes[slot].cells)[cell].assign({1, 0, 0, 3, 1, 0});
  }

  // "defragdate" with slot's record set to when.
  void record_defrag_date(int slot, std::time_t when) {
    if (!folder.exists("defragdate")) folder.write("defragdate", std::vector<uint8_t>(26 * 16, 0));
    ASSERT_TRUE(write_defrag_date(folder.file("defragdate"), slot, when));
  }
};

// Catches a volume without a map (or a letter that is no fixed drive)
// answered from its saved cells or with stale records.
TEST_F(VolumeExports, VolumeWithoutMapIsAllZeroAndHasNoInfo) {
  ASSERT_TRUE(load());
  make_fragmented(2, 10);  // E's saved cells
  for (int letter : {'E', 'G', 'e'}) {
    const int32_t* colours = DLL_GetVolumeColorTable(letter);
    for (int i = 0; i < cells_per_volume; ++i) ASSERT_EQ(colours[i], 0) << char(letter) << i;
    EXPECT_EQ(DLL_GetVolumeSectorColor(letter, 10), 0) << char(letter);
    EXPECT_EQ(DLL_GetVolumeInfo(letter), nullptr) << char(letter);
  }
}

// Catches letters outside C to Z addressing anything but drive C, and the
// high bytes of the int taken into account.
TEST_F(VolumeExports, LettersOutsideCToZDescribeDriveC) {
  ASSERT_TRUE(load());
  make_fragmented(0, 42);
  for (int letter : {int{'A'}, int{'B'}, int{'1'}, int{'c'}, 0x4100 | 'C', 0x100 | 'A'}) {
    const VolumeInfo* info = DLL_GetVolumeInfo(letter);
    ASSERT_NE(info, nullptr) << letter;
    EXPECT_STREQ(info->fileSystem, "NTFS") << letter;
    EXPECT_EQ(info->bytesPerCluster, 4096u) << letter;
    EXPECT_EQ(DLL_GetVolumeSectorColor(letter, 42), colour_fragmented) << letter;
  }
  EXPECT_STREQ(DLL_GetVolumeInfo(0x4300 | 'D')->fileSystem, "FAT32");
}

// Catches a record filled from the wrong slot or with a field cut without
// its NUL.
TEST_F(VolumeExports, VolumeInfoHoldsTheFactsOfTheLoad) {
  ASSERT_TRUE(load());
  engine().volumes[1].file_system_name = "LONGFSNAME12";  // longer than its field
  const VolumeInfo* info = DLL_GetVolumeInfo('D');
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->fileSystem, "LONGFSNAM");
  EXPECT_STREQ(info->totalSizeText, engine().volumes[1].total_size_text.c_str());
  EXPECT_STREQ(info->usedSizeText, engine().volumes[1].used_size_text.c_str());
  EXPECT_EQ(info->clustersPerCell, 4u);
  EXPECT_EQ(info->freeClusters, 4000u);
  EXPECT_EQ(info->usedClusters, 0u);
  EXPECT_EQ(info->bytesPerCluster, 2048u);
}

// Catches cell indexes outside 0 to 999 read from beyond the map or the
// lists instead of answering colour 0 and an empty list.
TEST_F(VolumeExports, CellsOutsideTheMapAreFreeAndEmpty) {
  ASSERT_TRUE(load());
  make_fragmented(0, 999);
  make_fragmented(0, 0);
  engine().file_lists[0].append(999, "C:\\last.bin");
  engine().file_lists[0].append(0, "C:\\first.bin");
  for (int cell : {-1, 1000, 123456, -2147483647 - 1}) {
    EXPECT_EQ(DLL_GetVolumeSectorColor('C', cell), 0) << cell;
    const CellFileList* files = DLL_GetVolumeSectorFilesList('C', cell);
    ASSERT_NE(files, nullptr) << cell;
    EXPECT_TRUE(files->empty()) << cell;
  }
  EXPECT_EQ(DLL_GetVolumeSectorColor('C', 999), colour_fragmented);
  ASSERT_EQ(DLL_GetVolumeSectorFilesList('C', 999)->size(), 1u);
  EXPECT_STREQ(DLL_GetVolumeSectorFilesList('C', 999)->front(), "C:\\last.bin");
  EXPECT_STREQ(DLL_GetVolumeSectorFilesList('C', 0)->front(), "C:\\first.bin");
}

// Catches the lists of a fixed volume without a map withheld: the last
// analysis's lists are still the volume's.
TEST_F(VolumeExports, FileListsAreServedWithoutMapToo) {
  ASSERT_TRUE(load());
  engine().file_lists[2].append(5, "E:\\kept.txt");
  ASSERT_EQ(DLL_GetVolumeSectorFilesList('E', 5)->size(), 1u);
}

// Catches colours that ignore the recency of the selected volume, or a
// recency read for another slot.
TEST_F(VolumeExports, ColoursFollowTheSelectedVolumesRecency) {
  ASSERT_TRUE(load());
  const std::time_t now = std::time(nullptr);
  record_defrag_date(0, now - 3600);
  record_defrag_date(1, now - 5 * 86400);
  make_fragmented(0, 7);

  DLL_SetCurrentVolume('C');
  EXPECT_EQ(engine().job.recency_state, 1);
  EXPECT_EQ(DLL_GetVolumeColorTable('C')[7], colour_recently_defragged);
  EXPECT_EQ(DLL_GetVolumeSectorColor('C', 7), colour_recently_defragged);

  DLL_SetCurrentVolume('D');
  EXPECT_EQ(engine().job.recency_state, 2);
  EXPECT_EQ(DLL_GetVolumeColorTable('C')[7], colour_fragmented);

  // A volume without a map changes the current slot only.
  DLL_SetCurrentVolume('E');
  EXPECT_EQ(engine().job.current_slot, 2);
  EXPECT_EQ(engine().job.recency_state, 2);
  EXPECT_EQ(engine().job.working_slot, 1);
  EXPECT_EQ(engine().job.bytes_per_cluster, 2048u);
}

// Catches the host's choice of volume during a run changing the volume the
// worker is bound to, and a choice that does not reach the host's view.
TEST_F(VolumeExports, SelectingDuringARunChangesOnlyWhatTheHostSees) {
  ASSERT_TRUE(load());
  record_defrag_date(1, std::time(nullptr) - 60);
  DLL_SetCurrentVolume('C');
  gate entered, release;
  install_analysis_step(engine(), [&](engine_state&, const analysis_turn&) {
    entered.open();
    release.wait();
  });
  std::thread job([] { DLL_AnalyseVolume("C"); });
  ASSERT_TRUE(entered.wait());

  DLL_SetCurrentVolume('D');
  EXPECT_EQ(engine().job.current_slot, 1);
  EXPECT_EQ(engine().job.recency_state, 1);
  EXPECT_EQ(engine().job.working_slot, 0);
  EXPECT_EQ(engine().job.bytes_per_cluster, 4096u);

  release.open();
  job.join();
  DLL_SetCurrentVolume('D');
  EXPECT_EQ(engine().job.working_slot, 1);
  EXPECT_EQ(engine().job.bytes_per_cluster, 2048u);
}

// Catches a run that starts between DLL_SetCurrentVolume's test that no run
// is active and its store of the working volume: the worker, bound to C,
// would find D's slot and cluster size under it.
TEST_F(VolumeExports, ARunStartingDuringASelectionKeepsItsWorkingVolume) {
  ASSERT_TRUE(load());
  gate bound, selected;
  int32_t slot_seen = -1;
  uint64_t cluster_bytes_seen = 0;
  install_analysis_step(engine(), [&](engine_state& e, const analysis_turn& turn) {
    // Binds the volume as the analysis does, then works on it once the
    // selection has returned.
    e.job.working_slot = turn.slot;
    e.job.bytes_per_cluster = e.volumes[turn.slot].bytes_per_cluster;
    bound.open();
    selected.wait();
    slot_seen = e.job.working_slot;
    cluster_bytes_seen = e.job.bytes_per_cluster;
  });
  std::thread job;
  engine().selection_hook = [&] {
    job = std::thread([] { DLL_AnalyseVolume("C"); });
    // A run cannot begin while the selection is under way: then this bounded
    // wait ends without the worker having bound its volume.
    bound.wait(1000);
  };
  DLL_SetCurrentVolume('D');
  engine().selection_hook = nullptr;
  selected.open();
  ASSERT_TRUE(job.joinable()) << "the selection found a run active";
  job.join();

  EXPECT_EQ(slot_seen, 0);
  EXPECT_EQ(cluster_bytes_seen, 4096u);
  DLL_SetCurrentVolume('D');
  EXPECT_EQ(engine().job.working_slot, 1) << "the selection after the run";
}

// Catches sizes in clusters rounded up or computed with another volume's
// cluster size, and a division by a cluster size not yet known.
TEST_F(VolumeExports, FileInfoCountsWholeClustersOfTheSelectedVolume) {
  ASSERT_TRUE(load());
  FileExtentInfo* info = DLL_GetVolumeSectorFileInfo("C:\\docs\\report.doc");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->extentCount, 1u);
  EXPECT_EQ(info->sizeInBytes, 10000u);
  EXPECT_EQ(info->sizeInClusters, 0u) << "no volume selected yet";

  DLL_SetCurrentVolume('C');
  info = DLL_GetVolumeSectorFileInfo("C:\\docs\\report.doc");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->sizeInClusters, 2u);
  DLL_SetCurrentVolume('D');
  EXPECT_EQ(DLL_GetVolumeSectorFileInfo("C:\\docs\\report.doc")->sizeInClusters, 4u);
  EXPECT_EQ(sim.open_handle_count(), 2u) << "the file was closed";
}

// Catches a file held elsewhere, missing or unnamed reported with another
// file's figures instead of null.
TEST_F(VolumeExports, FileThatCannotBeOpenedGivesNull) {
  ASSERT_TRUE(load());
  sim.set_open_error("C:\\docs\\report.doc", ERROR_SHARING_VIOLATION);
  sim.add_file("C:\\locked.dat", 100, {{900, 1}});
  sim.set_open_error("C:\\locked.dat", ERROR_ACCESS_DENIED);
  ASSERT_NE(DLL_GetVolumeSectorFileInfo("C:\\docs\\split.bin"), nullptr);
  EXPECT_EQ(DLL_GetVolumeSectorFileInfo("C:\\docs\\report.doc"), nullptr);
  EXPECT_EQ(DLL_GetVolumeSectorFileInfo("C:\\locked.dat"), nullptr);
  EXPECT_EQ(DLL_GetVolumeSectorFileInfo("C:\\docs\\gone.doc"), nullptr);
  EXPECT_EQ(DLL_GetVolumeSectorFileInfo(nullptr), nullptr);
}

// Catches a failed extent read that reports the count the buffer held for
// the previous file.
TEST_F(VolumeExports, FailedExtentReadCountsNoExtents) {
  ASSERT_TRUE(load());
  ASSERT_EQ(DLL_GetVolumeSectorFileInfo("C:\\docs\\split.bin")->extentCount, 2u);
  const FileExtentInfo* info = DLL_GetVolumeSectorFileInfo("C:\\docs\\empty.txt");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->extentCount, 0u);
  EXPECT_EQ(info->sizeInBytes, 0u);
}

// Catches a buffer that is not grown for a file of many extents, and a
// query that reallocates the buffer the workers read extents into.
TEST_F(VolumeExports, ManyExtentsGrowTheQuerysOwnBuffer) {
  std::vector<sim::file_run> runs;
  for (int i = 0; i < 300; ++i) runs.push_back({400 + 2 * i, 1});
  sim.add_file("C:\\scattered.log", 300 * 4096, runs);
  ASSERT_TRUE(load());
  const uint8_t* workers_buffer = engine().extents.bytes.get();
  const uint32_t workers_size = engine().extents.size;

  const FileExtentInfo* info = DLL_GetVolumeSectorFileInfo("C:\\scattered.log");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->extentCount, 300u);
  EXPECT_EQ(engine().file_query.buffer_size(), 3232u + 80000u);
  EXPECT_EQ(engine().extents.bytes.get(), workers_buffer);
  EXPECT_EQ(engine().extents.size, workers_size);
}

}  // namespace
}  // namespace dravik::testing
