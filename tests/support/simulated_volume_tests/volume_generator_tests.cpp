// The volume generator: same seed, same volume; volumes that keep the
// simulator's invariants and show the parameters asked for.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "simulated_volume/simulated_test_support.h"
#include "simulated_volume/volume_generator.h"
#include "simulated_volume/volume_walk.h"

namespace dravik::sim::testing {
namespace {

generator_settings small_settings(uint64_t seed = 7) {
  generator_settings settings;
  settings.seed = seed;
  settings.total_clusters = 200000;
  settings.files = 2000;
  settings.folders = 200;
  settings.max_depth = 5;
  settings.fragmented_share = 0.2;
  settings.max_fragments = 40;
  settings.compressed_share = 0.03;
  settings.sparse_share = 0.02;
  settings.track_contents = true;
  return settings;
}

// Every name, size, attribute set and extent of a volume, folded into one number.
uint64_t fingerprint(const volume_model& volume) {
  uint64_t hash = 1469598103934665603ull;
  auto add = [&](uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
  for (node_id id = 0; id < volume.node_count(); ++id) {
    add(std::hash<std::string_view>{}(volume.name(id)));
    add(volume.parent(id));
    add(volume.size(id));
    add(volume.attributes(id));
    for (uint32_t i = 0; i < volume.extent_count(id); ++i) {
      add(static_cast<uint64_t>(volume.extents(id)[i].next_vcn));
      add(static_cast<uint64_t>(volume.extents(id)[i].lcn));
    }
  }
  return hash;
}

std::vector<std::string> problems_of(const volume_model& volume) {
  std::vector<std::string> problems;
  volume.check(problems);
  return problems;
}

TEST(VolumeGenerator, TheSameSeedGivesTheSameVolume) {
  const auto first = generate_volume(small_settings(7));
  const auto again = generate_volume(small_settings(7));
  const auto other = generate_volume(small_settings(8));
  EXPECT_EQ(fingerprint(*first), fingerprint(*again));
  EXPECT_NE(fingerprint(*first), fingerprint(*other));
}

TEST(VolumeGenerator, VolumesKeepTheInvariants) {
  for (const char* file_system : {"NTFS", "FAT32"}) {
    generator_settings settings = small_settings();
    settings.file_system = file_system;
    const auto volume = generate_volume(settings);
    EXPECT_EQ(problems_of(*volume), std::vector<std::string>{}) << file_system;
  }
}

TEST(VolumeGenerator, FatVolumesHoldOnlyWhatFatCan) {
  generator_settings settings = small_settings();
  settings.file_system = "FAT32";
  settings.small_share = 0.1;  // mostly large and huge files, scaled up to fill the volume
  settings.medium_share = 0.1;
  settings.files = 100;
  settings.total_clusters = 4000000;  // about 15 GiB
  settings.track_contents = false;
  generated_volume_summary summary;
  const auto volume = generate_volume(settings, &summary);
  EXPECT_EQ(summary.compressed_files + summary.sparse_files, 0u);
  for (node_id id = 0; id < volume->node_count(); ++id) {
    EXPECT_LT(volume->size(id), uint64_t{1} << 32) << volume->path_of(id);
    for (uint32_t i = 0; i < volume->extent_count(id); ++i) {
      EXPECT_NE(volume->extents(id)[i].lcn, virtual_lcn);
    }
    if (!volume->is_directory(id) && volume->size(id) > 0) {
      EXPECT_GT(volume->extent_count(id), 0u) << "FAT keeps no data inside a directory entry";
    }
  }
}

TEST(VolumeGenerator, RefusesSettingsNoVolumeCanMeet) {
  generator_settings settings = small_settings();
  settings.min_fragments = 50;
  settings.max_fragments = 10;
  EXPECT_THROW(generate_volume(settings), std::invalid_argument);
  settings = small_settings();
  settings.free_share = 1.5;
  EXPECT_THROW(generate_volume(settings), std::invalid_argument);
  settings = small_settings();
  settings.file_system = "FAT32";  // no data kept in directory entries
  settings.total_clusters = 500;   // 2000 files of a cluster or more cannot fit
  EXPECT_THROW(generate_volume(settings), std::invalid_argument);
}

TEST(VolumeGenerator, CountsAndFillMatchTheSettings) {
  generated_volume_summary summary;
  const generator_settings settings = small_settings();
  const auto volume = generate_volume(settings, &summary);
  EXPECT_EQ(summary.files, settings.files + 1) << "the files asked for and pagefile.sys";
  EXPECT_EQ(summary.folders, settings.folders);
  const double used = static_cast<double>(summary.used_clusters) / settings.total_clusters;
  EXPECT_NEAR(used, 1 - settings.free_share, 0.02);
  EXPECT_EQ(summary.used_clusters + summary.free_clusters, settings.total_clusters);
  EXPECT_GT(summary.files_without_clusters, 0u);
  EXPECT_GT(summary.compressed_files, 0u);
  EXPECT_GT(summary.sparse_files, 0u);
}

TEST(VolumeGenerator, FragmentedFilesHaveScatteredExtentsThatNeverTouch) {
  generator_settings settings = small_settings();
  settings.compressed_share = settings.sparse_share = 0;
  generated_volume_summary summary;
  const auto volume = generate_volume(settings, &summary);
  uint32_t multi_cluster = 0, fragmented = 0;
  for (node_id id = 0; id < volume->node_count(); ++id) {
    if (volume->is_directory(id) || volume->allocated_vcns(id) < 2) continue;
    ++multi_cluster;
    const uint32_t count = volume->extent_count(id);
    if (count > 1) ++fragmented;
    EXPECT_LE(count, settings.max_fragments);
    int64_t start = 0;
    for (uint32_t i = 1; i < count; ++i) {
      const extent& previous = volume->extents(id)[i - 1];
      EXPECT_NE(previous.lcn + (previous.next_vcn - start), volume->extents(id)[i].lcn)
          << volume->path_of(id) << " extent " << i;
      start = previous.next_vcn;
    }
  }
  EXPECT_EQ(fragmented, summary.fragmented_files);
  EXPECT_NEAR(static_cast<double>(fragmented) / multi_cluster, settings.fragmented_share, 0.05);
}

TEST(VolumeGenerator, CompressedFilesLeaveVirtualTailsInTheirUnits) {
  generated_volume_summary summary;
  const auto volume = generate_volume(small_settings(), &summary);
  uint32_t compressed = 0;
  for (node_id id = 0; id < volume->node_count(); ++id) {
    if (!(volume->attributes(id) & FILE_ATTRIBUTE_COMPRESSED) || volume->extent_count(id) == 0)
      continue;
    ++compressed;
    EXPECT_NE(volume->extents(id)[0].lcn, virtual_lcn) << "a unit starts with its data";
    for (uint32_t i = 0; i < volume->extent_count(id); ++i) {
      const extent& e = volume->extents(id)[i];
      if (e.lcn != virtual_lcn) continue;
      EXPECT_TRUE(e.next_vcn % 16 == 0 || e.next_vcn == volume->allocated_vcns(id))
          << "a virtual run ends its unit";
    }
  }
  EXPECT_GT(compressed, 0u);
}

TEST(VolumeGenerator, FreeSpaceScatterDecidesTheNumberOfFreeRuns) {
  generator_settings settings = small_settings();
  settings.free_scatter = 0;
  generated_volume_summary together;
  generate_volume(settings, &together);
  // One run at the end, and the odd cluster kept between two pieces of a
  // file that would otherwise touch.
  EXPECT_LE(together.free_runs, 10u);

  settings.free_scatter = 1;
  generated_volume_summary scattered;
  generate_volume(settings, &scattered);
  EXPECT_GT(scattered.free_runs, settings.files / 8);
}

TEST(VolumeGenerator, FolderDepthStaysWithinTheLimit) {
  const auto volume = generate_volume(small_settings());
  for (node_id id = 0; id < volume->node_count(); ++id) {
    uint32_t depth = 0;
    for (node_id at = id; at != root_node; at = volume->parent(at)) ++depth;
    // A file may sit in a folder of the deepest level.
    EXPECT_LE(depth, volume->is_directory(id) ? 5u : 6u) << volume->path_of(id);
  }
}

TEST(VolumeGenerator, AWalkThroughTheSeamMeetsEveryFileAndExtent) {
  generated_volume_summary summary;
  generator_settings settings = small_settings();
  settings.max_fragments = 400;
  simulated_volume sim;
  sim.add_volume('C', generate_volume(settings, &summary));
  const walk_totals totals = walk_volume(sim, 'C');
  EXPECT_EQ(totals.files, summary.files);
  EXPECT_EQ(totals.refused, 1u) << "pagefile.sys never opens";
  EXPECT_EQ(totals.unreadable, 1u) << "Documents and Settings denies access";
  EXPECT_EQ(totals.folders, summary.folders + 1) << "every folder and the root";
  const std::vector<file_run> pagefile = sim.runs_of("C:\\pagefile.sys");
  ASSERT_EQ(pagefile.size(), 1u);
  EXPECT_EQ(totals.extents + 1, summary.extents);
  EXPECT_EQ(totals.clusters + pagefile[0].length + summary.reserved_clusters,
            summary.used_clusters);
  EXPECT_GT(totals.buffer_bytes, 3232u) << "some file had more extents than the first buffer holds";
  EXPECT_EQ(sim.open_handle_count(), 0u);
  EXPECT_TRUE(sim.misuse().empty());
}

TEST(VolumeGenerator, SystemFoldersAndEntriesAreThere) {
  simulated_volume sim;
  sim.add_volume('C', generate_volume(small_settings()));
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\Windows\\System32\\*.dll", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "System32 holds files";
  sim.find_close(search);
  EXPECT_EQ(sim.create_file("C:\\pagefile.sys", 0, 0, OPEN_EXISTING, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_SHARING_VIOLATION});
}

}  // namespace
}  // namespace dravik::sim::testing
