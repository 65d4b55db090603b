#include "free_runs.h"

namespace dravik {

void scan_free_runs_by_length(const bitmap_view& bitmap, free_runs_by_length_map& runs) {
  // try_emplace builds no node for a length that is already there, which is
  // the common case: a volume has far more runs than distinct run lengths.
  for_each_free_run(bitmap, [&runs](uint64_t start, uint64_t length) {
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
