#pragma once
// The analysis walk of a volume's directory tree: every directory entered,
// every file handed to the per-file analysis, as the volume's variant asks.

#include "analysis/analysis_variant.h"
#include "cells/cell_updates.h"
#include "options/exclusion_index.h"
#include "reports/report_strings.h"
#include "state/job_control.h"
#include "state/status_feed.h"
#include "state/volume_tables.h"
#include "state/walk_state.h"
#include "volume/file_extents.h"

namespace dravik {

// What the analysis walk of one volume and its per-file analysis work with:
// references into the engine's records, bound by the analysis of the volume.
// Analysis worker only.
struct analysis_walk_records {
  const job_control& job;        // stop_requested, working_slot, bytes_per_cluster
  status_feed& status;           // the progress pair and the entry name
  const volume_tables& volumes;  // the working slot's letter string
  walk_state& walk;              // with file_lists, longest_free_run and recency_state bound
  cell_cursor& cursor;           // with the volume's map and geometry bound
  extent_buffer& extents;
  report_strings& reports;       // fragment_rows
  const exclusion_index& exclusions;
};

// Walks the volume of the working slot from its root, recursively. Counts
// directories and files; passes over names beginning with ".", read-only and
// sparse entries, directories that are reparse points (a junction leads
// elsewhere, possibly back up the tree), excluded names, small files in the
// large variants, and entries whose full path would not fit walk_path. in_system_folder is 1 for
// files below a directory whose path contains "system32" in any case. Ends
// early, between entries, when a stop is requested. Worker thread only.
void analyse_tree(const analysis_walk_records& records, const analysis_variant& variant);

void analyse_tree_ntfs(const analysis_walk_records& records);
void analyse_tree_ntfs_large(const analysis_walk_records& records);
void analyse_tree_fat(const analysis_walk_records& records);
void analyse_tree_fat_large(const analysis_walk_records& records);

}  // namespace dravik
