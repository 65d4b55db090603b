#pragma once
// The counter updates the walkers, movers and optimisation pass make on the
// cell they are at.

#include <cstdint>

#include "state/cluster_cell.h"

namespace dravik {

// Where a walker is in the bound volume's map, and that volume's geometry.
// Worker thread only (and the loading thread at load, for the geometry).
struct cell_cursor {
  cell_map* cells = nullptr;     // the map of the volume being worked on
  int64_t cell_index = 0;        // an index outside 0..999 is taken as 999
  uint8_t in_system_folder = 0;  // 1 while the file lies under "system32"

  // Geometry of the volume being worked on (compute_cell_size).
  uint64_t clusters_per_cell = 0;
  uint64_t cells_filled = 0;
  // From an extent's first cluster to its cell's end (for_each_cell_of_extent).
  uint64_t clusters_to_cell_end = 0;
};

// What add_to_cell counts besides in_use and system_count.
enum cell_contribution : int {
  contribution_fragmented = 0,
  contribution_contiguous = 1,
  contribution_settled = 2,
};

// in_use := 1; system_count + 1 under "system32"; then the counter of kind + 1
// (any other kind adds nothing further). Moves cell_index into 0..999 first.
void add_to_cell(cell_cursor& cursor, int kind) noexcept;

// fragmented_count - 1 (and system_count - 1 under "system32"), neither below
// 0; in_use recomputed. Moves cell_index into 0..999 first.
void remove_fragmented_from_cell(cell_cursor& cursor) noexcept;

// The same with contiguous_count.
void remove_contiguous_from_cell(cell_cursor& cursor) noexcept;

}  // namespace dravik
