// Measures the engine's defragmentation of a generated fragmented NTFS volume
// (200,000 files in 20,000 folders on 2^24 clusters of 4 KiB by default; 17%
// of the files of two clusters or more are cut into 11 to 200 extents (fewer
// when they have fewer clusters) scattered over the volume, which makes
// about 5% of all files with more than 10 extents; most of the free space
// lies in gaps between files): files
// moved, FSCTL_MOVE_FILE calls issued, time and time per moved file, and how
// many of the fragmented files the movers could have moved were left
// fragmented (those whose extents need a move and that fit a free run).
//
// The volume is analysed first, as a defragmentation job does; that time is
// printed apart. Then an optimised defragmentation of the same volume: its
// walk finds nothing left to move and records the files that lie in one
// extent, and its optimisation pass moves them towards the start of the
// volume: moves, time, and how far the moved files and all used clusters
// moved towards the start.
//
// Options: --files N --folders N --clusters N --seed N --scatter F
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_volume.h"
#include "defrag/defrag_volume.h"
#include "core/engine_lifetime.h"
#include "options/exclusion_lists.h"
#include "volume/free_runs.h"
#include "simulated_volume/simulated_volume.h"
#include "simulated_volume/volume_generator.h"
#include "platform/volume_io.h"
#include "volume_options.h"

namespace {

using dravik::sim::generate_volume;
using dravik::sim::generated_volume_summary;
using dravik::sim::generator_settings;
using dravik::sim::node_id;
using dravik::sim::simulated_volume;
using dravik::sim::volume_model;

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// An application folder of the bench's own, with minimal templates; removed
// at the end.
class bench_folder {
 public:
  bench_folder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "tessarel_defrag_bench_" + std::to_string(GetCurrentProcessId()) +
            "\\";
    std::filesystem::create_directories(path_);
    for (const char* name : {"analysisreportmodel.html", "defragreportmodel.html"})
      std::ofstream(path_ + name, std::ios::binary) << "<html><body><!--table--></body></html>";
  }
  ~bench_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// What the defragmentation walk makes of a file before it is moved.
enum class file_class {
  not_fragmented,  // one extent or none
  passed_over,     // sparse, or below a folder the walk does not enter
  refused,         // the simulator refuses to open it
  needs_no_move,   // a virtual extent, or two extents touching end to end
  movable,         // fragmented, every extent real and apart
};

struct fragmented_file {
  node_id id;
  uint64_t clusters;
};

// The fragmented files the movers may move, by walking the model's nodes in
// creation order (a folder before everything in it).
std::vector<fragmented_file> movable_files(const volume_model& volume,
                                          const dravik::folder_exclusions& excluded_folders,
                                          size_t counts[5], size_t& over_ten_extents) {
  std::vector<bool> skipped(volume.node_count(), false);
  std::vector<fragmented_file> movable;
  for (node_id id = 0; id < volume.node_count(); ++id) {
    if (!volume.alive(id) || id == dravik::sim::root_node) continue;
    const bool below_skipped = skipped[volume.parent(id)];
    const std::string name(volume.name(id));
    if (volume.is_directory(id)) {
      skipped[id] = below_skipped || volume.is_junction(id) ||
                    dravik::folder_name_contains_exclusion(excluded_folders, name.c_str());
      continue;
    }
    file_class kind = file_class::movable;
    const uint32_t count = volume.extent_count(id);
    const dravik::sim::extent* extents = volume.extents(id);
    uint64_t clusters = 0;
    if (count <= 1) {
      kind = file_class::not_fragmented;
    } else if (below_skipped || (volume.attributes(id) & FILE_ATTRIBUTE_SPARSE_FILE)) {
      kind = file_class::passed_over;
    } else if (volume.open_error(id) != 0) {
      kind = file_class::refused;
    } else {
      int64_t start = 0;
      for (uint32_t i = 0; i < count; ++i) {
        const uint64_t length = static_cast<uint64_t>(extents[i].next_vcn - start);
        clusters += length;
        const bool touching =
            i > 0 && extents[i - 1].lcn + (start - (i > 1 ? extents[i - 2].next_vcn : 0)) ==
                         extents[i].lcn;
        if (extents[i].lcn == dravik::sim::virtual_lcn || touching)
          kind = file_class::needs_no_move;
        start = extents[i].next_vcn;
      }
    }
    ++counts[static_cast<int>(kind)];
    if (count > 10) ++over_ten_extents;
    if (kind == file_class::movable) movable.push_back({id, clusters});
  }
  return movable;
}

uint64_t longest_free_run(const volume_model& volume) {
  const dravik::sim::cluster_bitmap& bitmap = volume.bitmap();
  const dravik::bitmap_view view{bitmap.bytes(), static_cast<size_t>((bitmap.size() + 7) / 8),
                                 bitmap.size()};
  uint64_t longest = 0;
  dravik::for_each_free_run(view, [&longest](uint64_t, uint64_t length) {
    if (length > longest) longest = length;
  });
  return longest;
}

// Where the files that lie in one extent start, by node; -1 for others.
std::vector<int64_t> single_extent_starts(const volume_model& volume) {
  std::vector<int64_t> starts(volume.node_count(), -1);
  for (node_id id = 0; id < volume.node_count(); ++id) {
    if (volume.alive(id) && !volume.is_directory(id) && volume.extent_count(id) == 1 &&
        volume.extents(id)[0].lcn != dravik::sim::virtual_lcn)
      starts[id] = volume.extents(id)[0].lcn;
  }
  return starts;
}

// The mean cluster number of every cluster that files hold.
double mean_used_cluster(const volume_model& volume) {
  double sum = 0;
  double clusters = 0;
  for (node_id id = 0; id < volume.node_count(); ++id) {
    if (!volume.alive(id) || volume.is_directory(id)) continue;
    int64_t start = 0;
    for (uint32_t i = 0; i < volume.extent_count(id); ++i) {
      const dravik::sim::extent& e = volume.extents(id)[i];
      const auto length = static_cast<double>(e.next_vcn - start);
      if (e.lcn != dravik::sim::virtual_lcn) {
        sum += length * (static_cast<double>(e.lcn) + (length - 1) / 2);
        clusters += length;
      }
      start = e.next_vcn;
    }
  }
  return clusters > 0 ? sum / clusters : 0;
}

size_t row_count(const std::string& rows) {
  size_t count = 0;
  for (size_t at = rows.find("<TR>"); at != std::string::npos; at = rows.find("<TR>", at + 1))
    ++count;
  return count;
}

void reset_job(dravik::engine_state& engine, int32_t run_mode) {
  engine.job.run_mode = run_mode;
  engine.job.stop_requested = 0;
  engine.walk.interrupted = 0;
  engine.job.current_letter_text.set("C");
  engine.job.current_slot = 0;
}

}  // namespace

int main(int argc, char** argv) {
  generator_settings settings;
  settings.seed = 2025;
  settings.total_clusters = uint64_t{1} << 24;
  settings.files = 200000;
  settings.folders = 20000;
  settings.fragmented_share = 0.17;
  settings.min_fragments = 11;
  settings.max_fragments = 200;
  settings.free_scatter = 0.7;
  for (int i = 1; i < argc; ++i) {
    if (!bench::take_volume_option(argc, argv, i, settings)) {
      std::fprintf(stderr, "usage: %s %s\n", argv[0], bench::volume_options_usage());
      return 2;
    }
  }

  std::printf("volume: NTFS, %llu clusters of %lu bytes, %u files, %u folders, seed %llu, "
              "free space %.0f%% in gaps\n",
              static_cast<unsigned long long>(settings.total_clusters),
              settings.bytes_per_sector * settings.sectors_per_cluster, settings.files,
              settings.folders, static_cast<unsigned long long>(settings.seed),
              settings.free_scatter * 100);
  generated_volume_summary summary;
  std::unique_ptr<volume_model> generated = generate_volume(settings, &summary);
  const volume_model& volume = *generated;
  simulated_volume sim;
  sim.add_volume('C', std::move(generated));
  std::printf("contents: %u files (%u fragmented), %u folders, %llu extents, %llu free runs\n",
              summary.files, summary.fragmented_files, summary.folders,
              static_cast<unsigned long long>(summary.extents),
              static_cast<unsigned long long>(summary.free_runs));

  bench_folder folder;
  dravik::volume_io* previous = dravik::install_volume_io(&sim);
  if (!dravik::load_engine({folder.path() + "Tessarel.exe"})) {
    std::fprintf(stderr, "the engine did not load\n");
    return 1;
  }
  dravik::engine_state& engine = *dravik::current_engine();

  size_t counts[5] = {};
  size_t over_ten_extents = 0;
  const std::vector<fragmented_file> movable =
      movable_files(volume, engine.options.excluded_folders, counts, over_ten_extents);
  std::printf("files with more than 10 extents: %zu (%.1f%%)\n", over_ten_extents,
              100.0 * static_cast<double>(over_ten_extents) / summary.files);
  std::printf("fragmented files: %zu movable, %zu needing no move, %zu refused by the simulator, "
              "%zu passed over by the walk\n",
              counts[static_cast<int>(file_class::movable)],
              counts[static_cast<int>(file_class::needs_no_move)],
              counts[static_cast<int>(file_class::refused)],
              counts[static_cast<int>(file_class::passed_over)]);
  const uint64_t longest_before = longest_free_run(volume);
  size_t fitting = 0;
  for (const fragmented_file& file : movable) fitting += file.clusters <= longest_before ? 1 : 0;
  std::printf("  of the movable ones %zu fit the longest free run (%llu clusters)\n", fitting,
              static_cast<unsigned long long>(longest_before));

  reset_job(engine, 1);
  auto start = std::chrono::steady_clock::now();
  dravik::analyse_volume(dravik::analysis_records_of(engine), {'C', 0, 1});
  std::printf("analysis: %.2f s, %d files listed\n", seconds_since(start),
              engine.walk.big_fragment_files);

  reset_job(engine, 1);
  const uint64_t requests_before = sim.move_requests();
  start = std::chrono::steady_clock::now();
  dravik::defrag_volume(dravik::defrag_records_of(engine), {'C', 0, 1});
  const double seconds = seconds_since(start);
  const int moved = engine.walk.big_fragment_files;
  const uint64_t requests = sim.move_requests() - requests_before;
  std::printf("defragmentation: %.2f s, %d files moved, %llu moves issued (%llu done), "
              "%.3f ms per moved file\n",
              seconds, moved, static_cast<unsigned long long>(requests),
              static_cast<unsigned long long>(sim.moves_done()),
              moved ? seconds * 1000 / moved : 0.0);

  const uint64_t longest_after = longest_free_run(volume);
  size_t left = 0;
  size_t left_fitting = 0;
  for (const fragmented_file& file : movable) {
    if (volume.extent_count(file.id) <= 1) continue;
    ++left;
    if (file.clusters <= longest_after) ++left_fitting;
  }
  std::printf("left fragmented: %zu of %zu movable files; %zu of them fit a free run now "
              "(longest %llu clusters): %.3f%% of the movable files that fit\n",
              left, movable.size(), left_fitting, static_cast<unsigned long long>(longest_after),
              fitting ? 100.0 * static_cast<double>(left_fitting) / fitting : 0.0);

  const std::vector<int64_t> starts_before = single_extent_starts(volume);
  const double mean_before = mean_used_cluster(volume);
  reset_job(engine, 2);
  const uint64_t requests_before_pass = sim.move_requests();
  start = std::chrono::steady_clock::now();
  dravik::defrag_volume(dravik::defrag_records_of(engine), {'C', 0, 1});
  const double pass_seconds = seconds_since(start);
  const size_t optimised = row_count(engine.report_strings.optimize_rows);
  const std::vector<int64_t> starts_after = single_extent_starts(volume);
  double moved_before = 0;
  double moved_after = 0;
  size_t moved_files = 0;
  for (node_id id = 0; id < volume.node_count(); ++id) {
    if (starts_before[id] < 0 || starts_after[id] < 0 || starts_before[id] == starts_after[id])
      continue;
    moved_before += static_cast<double>(starts_before[id]);
    moved_after += static_cast<double>(starts_after[id]);
    ++moved_files;
  }
  std::printf("optimised defragmentation: %.2f s, %d files defragmented, %zu files optimised, "
              "%llu moves issued, %.3f ms per optimised file\n",
              pass_seconds, engine.walk.big_fragment_files, optimised,
              static_cast<unsigned long long>(sim.move_requests() - requests_before_pass),
              optimised ? pass_seconds * 1000 / static_cast<double>(optimised) : 0.0);
  if (moved_files > 0) {
    std::printf("  moved files start on average at cluster %.0f, before at %.0f (%.1f%% of the "
                "volume nearer its start)\n",
                moved_after / moved_files, moved_before / moved_files,
                100.0 * (moved_before - moved_after) / moved_files /
                    static_cast<double>(settings.total_clusters));
  }
  std::printf("  mean cluster of the used clusters: %.0f before, %.0f after (%.1f%% of the "
              "volume nearer its start)\n",
              mean_before, mean_used_cluster(volume),
              100.0 * (mean_before - mean_used_cluster(volume)) /
                  static_cast<double>(settings.total_clusters));

  const std::vector<std::string> problems = sim.check_invariants();
  std::printf("simulator invariants: %s\n", problems.empty() ? "hold" : problems.front().c_str());

  dravik::unload_engine();
  dravik::install_volume_io(previous);
  return 0;
}
