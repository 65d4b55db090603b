#pragma once
// What the defragmentation walk of one volume, its movers and the
// optimisation pass work with: references into the engine's records, bound
// by the defragmentation of the volume. Defragmentation worker only.

#include "cells/cell_updates.h"
#include "defrag/move_work.h"
#include "defrag/optimize_set.h"
#include "options/exclusion_lists.h"
#include "reports/report_strings.h"
#include "state/job_control.h"
#include "state/status_feed.h"
#include "state/volume_tables.h"
#include "state/walk_state.h"
#include "volume/file_extents.h"
#include "volume/volume_work.h"

namespace dravik {

struct defrag_records {
  const job_control& job;        // stop_requested, working_slot, bytes_per_cluster
  status_feed& status;           // the progress pair, the entry name and the move
  const volume_tables& volumes;  // the working slot's letter string and handle
  walk_state& walk;
  cell_cursor& cursor;           // with the volume's map and geometry bound
  extent_buffer& extents;
  volume_work& work;             // the bitmap re-read for each move
  move_work& mover;
  report_strings& reports;       // fragment_rows and optimize_rows
  // The folder entries a directory's name must not contain; null: none.
  const folder_exclusions* exclusions = nullptr;
  // In an optimised run the set the movers record single-extent files into;
  // null otherwise, and once recording has stopped.
  optimize_map* optimize_set = nullptr;
};

}  // namespace dravik
