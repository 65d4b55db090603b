#include "contiguous_cells.h"

#include "cell_updates.h"
#include "file_extents.h"

namespace dravik {

void mark_contiguous_cells(engine_context& context, HANDLE file, int64_t lcn_offset) {
  extent_list extents;
  if (!read_file_extents(context, file, extents)) return;
  if (extents.count() != 1 || extents.is_virtual(0)) return;
  for_each_cell_of_extent(context, extents.lcn(0), extents.length(0), lcn_offset,
                          [&context] { add_to_cell(context.cursor, contribution_contiguous); });
}

void mark_contiguous_cells_ntfs(engine_context& context) {
  mark_contiguous_cells(context, context.current_file.get(), ntfs_lcn_offset);
}

void mark_contiguous_cells_fat(engine_context& context) {
  mark_contiguous_cells(context, context.current_file.get(), fat_lcn_offset);
}

}  // namespace dravik
