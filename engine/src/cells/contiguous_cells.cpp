#include "cells/contiguous_cells.h"

#include "cells/cell_updates.h"
#include "volume/file_extents.h"

namespace dravik {

void point_at_cell(engine_context& context, int64_t lcn, int64_t lcn_offset) noexcept {
  const uint64_t per_cell = context.clusters_per_cell != 0 ? context.clusters_per_cell : 1;
  context.cursor.cell_index = cell_within_map(cell_of_cluster(lcn + lcn_offset, per_cell));
}

bool read_single_extent(engine_context& context, HANDLE file, int64_t& lcn, uint64_t& length) {
  extent_list extents;
  if (!read_file_extents(context, file, extents)) return false;
  if (extents.count() != 1 || extents.is_virtual(0)) return false;
  lcn = extents.lcn(0);
  length = extents.length(0);
  return true;
}

void mark_extent_contiguous(engine_context& context, int64_t lcn, uint64_t length,
                            int64_t lcn_offset) {
  for_each_cell_of_extent(context, lcn, length, lcn_offset,
                          [&context] { add_to_cell(context.cursor, contribution_contiguous); });
}

void mark_contiguous_cells(engine_context& context, HANDLE file, int64_t lcn_offset) {
  int64_t lcn = 0;
  uint64_t length = 0;
  if (read_single_extent(context, file, lcn, length))
    mark_extent_contiguous(context, lcn, length, lcn_offset);
}

void mark_contiguous_cells_ntfs(engine_context& context) {
  mark_contiguous_cells(context, context.current_file.get(), ntfs_lcn_offset);
}

void mark_contiguous_cells_fat(engine_context& context) {
  mark_contiguous_cells(context, context.current_file.get(), fat_lcn_offset);
}

}  // namespace dravik
