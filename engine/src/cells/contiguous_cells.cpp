#include "cells/contiguous_cells.h"

#include "cells/cell_updates.h"
#include "volume/file_extents.h"

namespace dravik {

void point_at_cell(cell_cursor& cursor, int64_t lcn, int64_t lcn_offset) noexcept {
  const uint64_t per_cell = cursor.clusters_per_cell != 0 ? cursor.clusters_per_cell : 1;
  cursor.cell_index = cell_within_map(cell_of_cluster(lcn + lcn_offset, per_cell));
}

bool read_single_extent(extent_buffer& buffer, HANDLE file, int64_t& lcn, uint64_t& length) {
  extent_list extents;
  if (!read_file_extents(buffer, file, extents)) return false;
  if (extents.count() != 1 || extents.is_virtual(0)) return false;
  lcn = extents.lcn(0);
  length = extents.length(0);
  return true;
}

void mark_extent_contiguous(cell_cursor& cursor, int64_t lcn, uint64_t length,
                            int64_t lcn_offset) {
  for_each_cell_of_extent(cursor, lcn, length, lcn_offset,
                          [&cursor] { add_to_cell(cursor, contribution_contiguous); });
}

void mark_contiguous_cells(cell_cursor& cursor, extent_buffer& buffer, HANDLE file,
                           int64_t lcn_offset) {
  int64_t lcn = 0;
  uint64_t length = 0;
  if (read_single_extent(buffer, file, lcn, length))
    mark_extent_contiguous(cursor, lcn, length, lcn_offset);
}

void mark_contiguous_cells_ntfs(cell_cursor& cursor, extent_buffer& buffer, HANDLE file) {
  mark_contiguous_cells(cursor, buffer, file, ntfs_lcn_offset);
}

void mark_contiguous_cells_fat(cell_cursor& cursor, extent_buffer& buffer, HANDLE file) {
  mark_contiguous_cells(cursor, buffer, file, fat_lcn_offset);
}

}  // namespace dravik
