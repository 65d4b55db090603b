// Builds the simulated volume the engine is measured on (NTFS, 1,000,000
// files in 100,000 folders, 2^28 clusters of 4 KiB) and prints how long that
// takes, the memory it holds, and the time of a bare walk that makes per
// file the calls the analysis makes: the floor for the engine's analysis.
//
// Options: --files N --folders N --clusters N --seed N --walks N --check
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "simulated_volume/simulated_volume.h"
#include "simulated_volume/volume_generator.h"
#include "volume_options.h"
#include "simulated_volume/volume_walk.h"

namespace {

using dravik::sim::generate_volume;
using dravik::sim::generated_volume_summary;
using dravik::sim::generator_settings;
using dravik::sim::simulated_volume;
using dravik::sim::walk_totals;

struct memory_use {
  double working_set_mib;
  double peak_working_set_mib;
};

memory_use memory_now() {
  // Wine reports no private bytes; the working set it does report.
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  constexpr double mib = 1024.0 * 1024.0;
  return {counters.WorkingSetSize / mib, counters.PeakWorkingSetSize / mib};
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  auto settings = bench::default_volume_settings();
  int walks = 2;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    if (bench::take_volume_option(argc, argv, i, settings)) continue;
    if (!std::strcmp(argv[i], "--walks") && i + 1 < argc) {
      walks = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--check")) {
      check = true;
    } else {
      std::fprintf(stderr, "usage: %s %s [--walks N] [--check]\n", argv[0],
                   bench::volume_options_usage());
      return 2;
    }
  }

  std::printf("volume: NTFS, %llu clusters of %lu bytes, %u files, %u folders, seed %llu\n",
              static_cast<unsigned long long>(settings.total_clusters),
              settings.bytes_per_sector * settings.sectors_per_cluster, settings.files,
              settings.folders, static_cast<unsigned long long>(settings.seed));
  const memory_use before = memory_now();
  const auto build_start = std::chrono::steady_clock::now();
  generated_volume_summary summary;
  auto volume = generate_volume(settings, &summary);
  const double model_mib = static_cast<double>(volume->memory_bytes()) / (1024.0 * 1024.0);
  simulated_volume sim;
  sim.add_volume('C', std::move(volume));
  const double build_seconds = seconds_since(build_start);
  const memory_use after = memory_now();

  std::printf("build: %.2f s\n", build_seconds);
  std::printf(
      "memory: the model holds %.1f MiB; the process grew by %.1f MiB of working set "
      "(peak %.1f MiB)\n",
      model_mib, after.working_set_mib - before.working_set_mib, after.peak_working_set_mib);
  std::printf(
      "contents: %u files (%u fragmented, %u compressed, %u sparse, %u without clusters), "
      "%u folders, %llu extents, %llu of %llu clusters used, %llu free runs\n",
      summary.files, summary.fragmented_files, summary.compressed_files, summary.sparse_files,
      summary.files_without_clusters, summary.folders,
      static_cast<unsigned long long>(summary.extents),
      static_cast<unsigned long long>(summary.used_clusters),
      static_cast<unsigned long long>(settings.total_clusters),
      static_cast<unsigned long long>(summary.free_runs));

  for (int walk = 1; walk <= walks; ++walk) {
    const auto walk_start = std::chrono::steady_clock::now();
    const walk_totals totals = dravik::sim::walk_volume(sim, 'C');
    const double walk_seconds = seconds_since(walk_start);
    std::printf(
        "bare walk %d: %.2f s, %.2f us per file; %llu folders, %llu files, %llu opened, "
        "%llu extents (%llu virtual), %llu without clusters, %llu refused, extent buffer "
        "%llu bytes\n",
        walk, walk_seconds, walk_seconds * 1e6 / static_cast<double>(totals.files),
        static_cast<unsigned long long>(totals.folders),
        static_cast<unsigned long long>(totals.files),
        static_cast<unsigned long long>(totals.opened),
        static_cast<unsigned long long>(totals.extents),
        static_cast<unsigned long long>(totals.virtual_extents),
        static_cast<unsigned long long>(totals.without_clusters),
        static_cast<unsigned long long>(totals.refused),
        static_cast<unsigned long long>(totals.buffer_bytes));
  }

  if (check) {
    const auto check_start = std::chrono::steady_clock::now();
    const auto problems = sim.check_invariants();
    std::printf("invariant check: %.2f s, %zu problems\n", seconds_since(check_start),
                problems.size());
    for (const std::string& line : problems) std::printf("  %s\n", line.c_str());
    if (!problems.empty()) return 1;
  }
  return 0;
}
