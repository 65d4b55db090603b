#pragma once
// The bitmap of the volume a worker is on and the free runs found in it.
// Worker thread only (and the loading thread at load, for the bitmap).

#include "volume/free_runs.h"
#include "volume/volume_bitmap.h"

namespace dravik {

struct volume_work {
  // The one bitmap buffer of every volume and every re-read.
  volume_bitmap bitmap;

  // Free runs of the last bitmap read. The analysis points the cursor at the
  // longest run; the movers walk it to the shortest run that fits a file.
  free_runs_by_length_map free_runs_by_length;
  free_runs_by_length_map::iterator free_run_cursor = free_runs_by_length.end();
  free_runs_by_start_map free_runs_by_start;

  void empty_free_runs_by_length() noexcept {
    free_runs_by_length.clear();
    free_run_cursor = free_runs_by_length.end();
  }
};

}  // namespace dravik
