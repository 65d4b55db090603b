#pragma once
// The cells an extent covers, and the marking of a file that a mover has just
// made contiguous.

#include <windows.h>

#include <cstdint>

#include "cells/cell_geometry.h"
#include "cells/cell_updates.h"
#include "dravik/cell_colours.h"
#include "volume/file_extents.h"

namespace dravik {

// Calls visit() once per cell that the extent of length clusters at lcn (as
// read from the file) covers, first to last, with the cursor's cell_index
// set to that cell; never past cell 999. An extent whose first cluster maps
// outside the map (cluster 0 on NTFS, the last clusters of a FAT volume) is
// counted in cell 999 alone. Needs the cursor's clusters_per_cell.
template <class Visit>
void for_each_cell_of_extent(cell_cursor& cursor, int64_t lcn, uint64_t length,
                             int64_t lcn_offset, Visit&& visit) {
  const uint64_t per_cell = cursor.clusters_per_cell != 0 ? cursor.clusters_per_cell : 1;
  const int64_t index = cell_of_cluster(lcn + lcn_offset, per_cell);
  // Clusters from the extent's first one to the end of its cell, counted from
  // the LCN as read: on FAT that count comes out four clusters long, so an
  // extent reaching at most four clusters into the next cell is not counted
  // there.
  uint64_t& to_cell_end = cursor.clusters_to_cell_end;
  to_cell_end = static_cast<uint64_t>((index + 1) * static_cast<int64_t>(per_cell) - lcn + 1 +
                                      lcn_offset);
  int64_t cell = cell_within_map(index);
  for (;;) {
    cursor.cell_index = cell;
    visit();
    if (to_cell_end >= length || cell >= cells_per_volume - 1) return;
    ++cell;
    to_cell_end += per_cell;
  }
}

// Points the cell cursor at the cell of the cluster lcn (as read from the
// file) plus lcn_offset, within the map.
void point_at_cell(cell_cursor& cursor, int64_t lcn, int64_t lcn_offset) noexcept;

// Re-reads the extents of file into buffer; true when it now lies in one real
// extent, whose first cluster and length are put in lcn and length.
bool read_single_extent(extent_buffer& buffer, HANDLE file, int64_t& lcn, uint64_t& length);

// Adds the extent as contiguous to every cell it covers (system_count too
// while in_system_folder is set).
void mark_extent_contiguous(cell_cursor& cursor, int64_t lcn, uint64_t length,
                            int64_t lcn_offset);

// Re-reads the extents of file and, when it now lies in one real extent,
// marks that extent with mark_extent_contiguous. The file lists are left as
// they are.
void mark_contiguous_cells(cell_cursor& cursor, extent_buffer& buffer, HANDLE file,
                           int64_t lcn_offset);

// The same on the file a mover holds open: for NTFS volumes, and for every
// other file system.
void mark_contiguous_cells_ntfs(cell_cursor& cursor, extent_buffer& buffer, HANDLE file);
void mark_contiguous_cells_fat(cell_cursor& cursor, extent_buffer& buffer, HANDLE file);

}  // namespace dravik
