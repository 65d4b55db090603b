#pragma once
// The colour code of a map cell, derived from its counters on request.

#include <cstdint>

#include "state/cluster_cell.h"

namespace dravik {

// recency_state: 0 no date known, 1 defragmented less than two whole days
// ago, 2 longer ago. Only 1 changes a colour (fragmented cells show 1, not 5).
int32_t cell_colour(const cell_counts& cell, int32_t recency_state) noexcept;

// The colours of all cells in cell order; a volume without a map (cells null)
// is all free.
void fill_colour_table(const cell_map* cells, int32_t recency_state,
                       int32_t (&table)[cells_per_volume]) noexcept;

}  // namespace dravik
