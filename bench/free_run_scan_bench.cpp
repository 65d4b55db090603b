// Times the engine's free-run scan over the bitmap of a realistic simulated
// volume (NTFS, 2^28 clusters of 4 KiB, 1,000,000 files in 100,000 folders by
// default) beside a plain pass over the same bytes, the memory-bandwidth
// floor. The movers rebuild the length map once per file they move, so its
// time is the cost a defragmentation pays per moved file.
//
// Options: --files N --folders N --clusters N --seed N --scatter F --rounds N
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "volume/free_runs.h"
#include "simulated_volume/simulated_volume.h"
#include "simulated_volume/volume_generator.h"
#include "volume_options.h"
#include "volume/volume_bitmap.h"
#include "platform/volume_io.h"

namespace {

using clock_type = std::chrono::steady_clock;

// The best and the median of rounds, in milliseconds.
struct timing {
  double best_ms;
  double median_ms;
};

template <class Work>
timing time_rounds(int rounds, Work&& work) {
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const auto start = clock_type::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

void print(const char* what, const timing& t, const timing& floor) {
  std::printf("%-34s best %8.2f ms  median %8.2f ms  (%5.1f x the plain pass)\n", what, t.best_ms,
              t.median_ms, t.best_ms / floor.best_ms);
}

}  // namespace

int main(int argc, char** argv) {
  auto settings = bench::default_volume_settings();
  int rounds = 7;
  for (int i = 1; i < argc; ++i) {
    if (bench::take_volume_option(argc, argv, i, settings)) continue;
    if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: %s %s [--rounds N]\n", argv[0], bench::volume_options_usage());
      return 2;
    }
  }

  std::printf("volume: NTFS, %llu clusters, %u files, %u folders, free scatter %.2f, seed %llu\n",
              static_cast<unsigned long long>(settings.total_clusters), settings.files,
              settings.folders, settings.free_scatter,
              static_cast<unsigned long long>(settings.seed));
  dravik::sim::generated_volume_summary summary;
  dravik::sim::simulated_volume sim;
  sim.add_volume('C', dravik::sim::generate_volume(settings, &summary));
  dravik::volume_io* previous = dravik::install_volume_io(&sim);

  // The bitmap as the engine reads it: a 24-byte buffer, one retry.
  const HANDLE volume = sim.create_file("\\\\.\\C:", GENERIC_EXECUTE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL);
  dravik::volume_bitmap bitmap;
  const auto read_start = clock_type::now();
  if (!bitmap.read(volume)) {
    std::fprintf(stderr, "the bitmap read failed\n");
    return 1;
  }
  const double read_ms =
      std::chrono::duration<double, std::milli>(clock_type::now() - read_start).count();
  const dravik::bitmap_view view = bitmap.view();
  std::printf("bitmap: %llu clusters, %llu used, %llu free runs, %.1f MiB, read in %.1f ms\n",
              static_cast<unsigned long long>(view.cluster_count),
              static_cast<unsigned long long>(summary.used_clusters),
              static_cast<unsigned long long>(summary.free_runs),
              static_cast<double>(view.byte_count) / (1024.0 * 1024.0), read_ms);

  // The floor: every byte read once, nothing else done with it.
  uint64_t checksum = 0;
  const timing plain = time_rounds(rounds, [&] {
    uint64_t sum = 0;
    for (size_t offset = 0; offset + 8 <= view.byte_count; offset += 8) {
      uint64_t word;
      std::memcpy(&word, view.bits + offset, sizeof word);
      sum += word;
    }
    checksum ^= sum;
  });

  uint64_t runs = 0;
  const timing bare = time_rounds(rounds, [&] {
    runs = 0;
    dravik::for_each_free_run(view, [&runs](uint64_t, uint64_t) { ++runs; });
  });

  size_t lengths = 0;
  const timing by_length = time_rounds(rounds, [&] {
    dravik::free_runs_by_length_map map;
    dravik::scan_free_runs_by_length(view, map);
    lengths = map.size();
  });

  size_t starts = 0;
  const timing by_start = time_rounds(rounds, [&] {
    dravik::free_runs_by_start_map map;
    dravik::scan_free_runs_by_start(view, map);
    starts = map.size();
  });

  std::printf("runs found: %llu (%zu distinct lengths, %zu in the start map); checksum %llx\n",
              static_cast<unsigned long long>(runs), lengths, starts,
              static_cast<unsigned long long>(checksum & 0xFFFF));
  std::printf("%d rounds each:\n", rounds);
  print("plain pass over the bytes", plain, plain);
  print("free runs, bare scan", bare, plain);
  print("free runs by length (movers)", by_length, plain);
  print("free runs by start", by_start, plain);

  sim.close_handle(volume);
  dravik::install_volume_io(previous);
  return 0;
}
