// Measures the engine's analysis of one volume on the simulated volume the
// walk benchmark builds (NTFS, 1,000,000 files in 100,000 folders, 2^28
// clusters of 4 KiB), beside the bare walk of the same volume: files per
// second, the ratio to the bare walk, and the memory of the cell file lists
// against the length of the paths they list.
//
// Two analyses: the walk that examines every file (the one a volume with at
// most 1 GiB in use gets; the bench lowers the used size taken at load to
// have it), then the large-volume walk that examines only files of more than
// 1 MiB.
//
// Options: --files N --folders N --clusters N --seed N
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "analysis/analysis_volume.h"
#include "core/engine_lifetime.h"
#include "simulated_volume/simulated_volume.h"
#include "simulated_volume/volume_generator.h"
#include "volume_options.h"
#include "simulated_volume/volume_walk.h"
#include "platform/volume_io.h"

namespace {

using dravik::sim::generate_volume;
using dravik::sim::generated_volume_summary;
using dravik::sim::generator_settings;
using dravik::sim::simulated_volume;

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

constexpr double mib = 1024.0 * 1024.0;

// An application folder of the bench's own, removed at the end.
class bench_folder {
 public:
  bench_folder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "tessarel_analysis_bench_" + std::to_string(GetCurrentProcessId()) +
            "\\";
    std::filesystem::create_directories(path_);
    std::ofstream(path_ + "analysisreportmodel.html", std::ios::binary)
        << "<html><body><!--table--></body></html>";
  }
  ~bench_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct list_figures {
  size_t entries = 0;
  size_t listed_bytes = 0;  // every entry's path with its NUL
  size_t stored_bytes = 0;  // the paths kept, one copy per file
  size_t memory_bytes = 0;
};

list_figures measure_lists(dravik::slot_file_lists& lists) {
  list_figures figures;
  for (int cell = 0; cell < dravik::cells_per_volume; ++cell) {
    for (const char* path : lists.list(cell)) {
      ++figures.entries;
      figures.listed_bytes += std::strlen(path) + 1;
    }
  }
  figures.stored_bytes = lists.text_bytes();
  figures.memory_bytes = lists.memory_bytes();
  return figures;
}

struct analysis_figures {
  double seconds;
  uint64_t files;
};

analysis_figures run_analysis(dravik::engine_state& engine, const char* title, double bare_seconds,
                              uint64_t bare_files) {
  engine.job.stop_requested = 0;
  const auto start = std::chrono::steady_clock::now();
  dravik::analyse_volume(dravik::analysis_records_of(engine), {'C', 0, 1});
  const double seconds = seconds_since(start);
  const dravik::walk_state& walk = engine.walk;
  const list_figures lists = measure_lists(engine.file_lists[0]);
  const double bare_rate = static_cast<double>(bare_files) / bare_seconds;
  const double rate = static_cast<double>(walk.files_scanned) / seconds;
  std::printf(
      "%s: %.2f s, %.0f files/s (bare walk %.0f files/s): %.2fx the bare walk's time, %.2fx its "
      "time per file\n  %llu folders, %llu files, %d listed, %d small-fragment; progress %llu of "
      "%llu\n",
      title, seconds, rate, bare_rate, seconds / bare_seconds, bare_rate / rate,
      static_cast<unsigned long long>(walk.directories_scanned),
      static_cast<unsigned long long>(walk.files_scanned), walk.big_fragment_files,
      walk.small_fragment_files, static_cast<unsigned long long>(engine.status.doneUnits.get()),
      static_cast<unsigned long long>(engine.status.totalUnits.get()));
  std::printf(
      "  file lists: %zu entries; paths %.1f MiB as listed, %.1f MiB kept (one copy per file); "
      "memory %.1f MiB = %.2fx the kept paths, %.2fx the listed paths\n",
      lists.entries, lists.listed_bytes / mib, lists.stored_bytes / mib, lists.memory_bytes / mib,
      lists.stored_bytes ? static_cast<double>(lists.memory_bytes) / lists.stored_bytes : 0.0,
      lists.listed_bytes ? static_cast<double>(lists.memory_bytes) / lists.listed_bytes : 0.0);
  return {seconds, walk.files_scanned};
}

}  // namespace

int main(int argc, char** argv) {
  auto settings = bench::default_volume_settings();
  for (int i = 1; i < argc; ++i) {
    if (!bench::take_volume_option(argc, argv, i, settings)) {
      std::fprintf(stderr, "usage: %s %s\n", argv[0], bench::volume_options_usage());
      return 2;
    }
  }

  std::printf("volume: NTFS, %llu clusters of %lu bytes, %u files, %u folders, seed %llu\n",
              static_cast<unsigned long long>(settings.total_clusters),
              settings.bytes_per_sector * settings.sectors_per_cluster, settings.files,
              settings.folders, static_cast<unsigned long long>(settings.seed));
  generated_volume_summary summary;
  simulated_volume sim;
  sim.add_volume('C', generate_volume(settings, &summary));
  std::printf("contents: %u files (%u fragmented), %u folders, %llu extents\n", summary.files,
              summary.fragmented_files, summary.folders,
              static_cast<unsigned long long>(summary.extents));

  // The faster of two bare walks: the first also warms the caches.
  dravik::sim::walk_totals bare;
  double bare_seconds = 0;
  for (int walk = 1; walk <= 2; ++walk) {
    const auto bare_start = std::chrono::steady_clock::now();
    bare = dravik::sim::walk_volume(sim, 'C');
    const double seconds = seconds_since(bare_start);
    std::printf("bare walk %d: %.2f s, %llu files, %llu opened\n", walk, seconds,
                static_cast<unsigned long long>(bare.files),
                static_cast<unsigned long long>(bare.opened));
    if (walk == 1 || seconds < bare_seconds) bare_seconds = seconds;
  }

  bench_folder folder;
  dravik::volume_io* previous = dravik::install_volume_io(&sim);
  if (!dravik::load_engine({folder.path() + "Tessarel.exe"})) {
    std::fprintf(stderr, "the engine did not load\n");
    return 1;
  }
  dravik::engine_state& engine = *dravik::current_engine();
  dravik::volume_table_entry& volume = engine.volumes[0];

  const uint64_t used_clusters = volume.used_clusters;
  volume.used_clusters = 1;  // at most 1 GiB in use: every file is examined
  run_analysis(engine, "analysis, every file (used size lowered to 1 cluster)", bare_seconds,
               bare.files);
  volume.used_clusters = used_clusters;
  run_analysis(engine, "analysis, files above 1 MiB", bare_seconds, bare.files);

  dravik::unload_engine();
  dravik::install_volume_io(previous);
  return 0;
}
