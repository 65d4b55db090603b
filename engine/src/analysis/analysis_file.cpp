#include "analysis/analysis_file.h"

#include <string_view>

#include "cells/cell_file_lists.h"
#include "cells/cell_updates.h"
#include "cells/contiguous_cells.h"
#include "files/defrag_date_file.h"
#include "volume/file_extents.h"
#include "reports/report_rows.h"
#include "state/volume_handle.h"
#include "platform/volume_io.h"

namespace dravik {

namespace {

// A volume whose free-space query failed at load has 0 bytes per cluster:
// its files count as no clusters rather than dividing by zero.
uint64_t clusters_of(uint64_t bytes, uint64_t bytes_per_cluster) noexcept {
  return bytes_per_cluster != 0 ? bytes / bytes_per_cluster : 0;
}

// The file's one copy of its path, shared by every list it goes into.
char* stored_path(walk_state& walk) {
  return walk.file_lists->store(walk.walk_path, walk.walk_path_length);
}

// One real extent: the file goes into the list of every cell it covers.
void count_contiguous(const analysis_walk_records& records, const extent_list& extents,
                      int64_t lcn_offset) {
  walk_state& walk = records.walk;
  cell_cursor& cursor = records.cursor;
  const uint64_t length = extents.length(0);
  records.status.doneUnits.add(length);
  char* path = walk.file_lists != nullptr ? stored_path(walk) : nullptr;
  for_each_cell_of_extent(cursor, extents.lcn(0), length, lcn_offset, [&] {
    if (path != nullptr) walk.file_lists->append_stored(cursor.cell_index, path);
    add_to_cell(cursor, contribution_contiguous);
  });
}

// More than listed_extent_threshold extents and room for the file in the
// longest free run: each extent counts as fragmented in its first cell,
// unless the extents turn out to need no move (a virtual one, or one that
// continues the one before it); then those counted so far move to settled.
void count_fragmented(const analysis_walk_records& records, const extent_list& extents,
                      int64_t lcn_offset) {
  walk_state& walk = records.walk;
  cell_cursor& cursor = records.cursor;
  const uint32_t count = extents.count();
  records.status.doneUnits.add(walk.file_clusters);
  walk.virtual_extent = 0;
  walk.adjacent_extents = 0;

  char* path = nullptr;
  uint32_t i = 0;
  for (; i < count; ++i) {
    walk.extent_index = i;
    if (extents.is_virtual(i)) {
      walk.virtual_extent = 1;
      break;
    }
    point_at_cell(cursor, extents.lcn(i), lcn_offset);
    // Only this file appends while it is examined, so its path is already in
    // the cell's list exactly when the list ends with the file's own copy.
    if (walk.file_lists != nullptr) {
      if (path == nullptr) path = stored_path(walk);
      if (!walk.file_lists->ends_with(cursor.cell_index, path))
        walk.file_lists->append_stored(cursor.cell_index, path);
    }
    add_to_cell(cursor, contribution_fragmented);
    if (i >= 1 && extents.lcn(i - 1) + static_cast<int64_t>(extents.length(i - 1)) ==
                      extents.lcn(i)) {
      walk.adjacent_extents = 1;
      break;
    }
  }

  if (i < count && i >= 1) {
    for (uint32_t k = i + 1; k-- > 0;) {
      if (extents.is_virtual(k)) continue;
      point_at_cell(cursor, extents.lcn(k), lcn_offset);
      remove_fragmented_from_cell(cursor);
      add_to_cell(cursor, contribution_settled);
    }
  }

  if (walk.virtual_extent == 0 && walk.adjacent_extents == 0 &&
      walk.recency_state != recency_recent) {
    append_analysis_row(records.reports,
                        std::string_view(walk.walk_path, walk.walk_path_length), count,
                        walk.file_size, walk.file_clusters);
    walk.big_fragment_files += 1;
  }
}

}  // namespace

void analyse_file(const analysis_walk_records& records, int64_t lcn_offset) {
  walk_state& walk = records.walk;
  volume_handle file;
  file.reset(current_volume_io().create_file(walk.walk_path, 0, 0, OPEN_EXISTING, 0));
  if (!file.is_open()) return;

  extent_list extents;
  if (!read_file_extents(records.extents, file.get(), extents)) {
    records.status.doneUnits.add(clusters_of(walk.file_size, records.job.bytes_per_cluster));
    return;
  }
  if (extents.count() == 1 && !extents.is_virtual(0)) {
    count_contiguous(records, extents, lcn_offset);
    return;
  }

  // The size, not the sum of the extents: a compressed or sparse file counts
  // as long as it is.
  walk.file_clusters = clusters_of(walk.file_size, records.job.bytes_per_cluster);
  if (walk.file_clusters < walk.longest_free_run && extents.count() > listed_extent_threshold) {
    count_fragmented(records, extents, lcn_offset);
  } else {
    records.status.doneUnits.add(walk.file_clusters);
    if (extents.count() <= listed_extent_threshold) walk.small_fragment_files += 1;
  }
}

void analyse_file_ntfs(const analysis_walk_records& records) {
  analyse_file(records, ntfs_lcn_offset);
}

void analyse_file_fat(const analysis_walk_records& records) {
  analyse_file(records, fat_lcn_offset);
}

}  // namespace dravik
