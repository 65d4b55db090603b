#include "volume/free_runs.h"

#include <bitset>

namespace dravik {

void scan_free_runs_by_length(const bitmap_view& bitmap, free_runs_by_length_map& runs) {
  // A volume has millions of runs but only a few thousand distinct lengths,
  // most of them short: a table of the short lengths already in the map
  // spares a tree lookup for nearly every run. Only the first run of a length
  // is inserted, and the scan runs upwards, so the lowest start is kept.
  constexpr uint64_t short_limit = 4096;
  std::bitset<short_limit> present;
  for (const auto& entry : runs) {
    if (entry.first >= short_limit) break;
    present.set(entry.first);
  }
  for_each_free_run(bitmap, [&runs, &present](uint64_t start, uint64_t length) {
    if (length < short_limit) {
      if (present.test(length)) return;
      present.set(length);
    }
    // try_emplace builds no node for a length that is already there.
    runs.try_emplace(length, start);
  });
}

void scan_free_runs_by_start(const bitmap_view& bitmap, free_runs_by_start_map& runs) {
  // Runs arrive in ascending order of start, so the end is the right hint.
  for_each_free_run(bitmap, [&runs](uint64_t start, uint64_t length) {
    runs.emplace_hint(runs.end(), start, length);
  });
}

}  // namespace dravik
