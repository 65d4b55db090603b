#pragma once
// The analysis of one file: its extents decide what it adds to the cells it
// lies in, to the cells' file lists, to the progress and to the page.

#include <cstdint>

#include "analysis/analysis_walk.h"

namespace dravik {

// A fragmented file with more extents than this is listed on the page (when
// it fits the longest free run); one with this many or fewer is counted as a
// small-fragment file.
constexpr uint32_t listed_extent_threshold = 10;

// Examines the file at the walk's walk_path, whose size the walk has put in
// file_size, on the volume bound to the records (cell map, file lists,
// clusters_per_cell, bytes_per_cluster, longest_free_run, recency_state).
// lcn_offset is what the volume's walk adds to every LCN (0 on NTFS, 2 on
// FAT). A file that does not open adds nothing; one whose extents cannot be
// read adds its size to the progress only. Worker thread only.
void analyse_file(const analysis_walk_records& records, int64_t lcn_offset);

void analyse_file_ntfs(const analysis_walk_records& records);
void analyse_file_fat(const analysis_walk_records& records);

}  // namespace dravik
