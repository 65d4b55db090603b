#include "cells/colour_rule.h"

namespace dravik {

int32_t cell_colour(const cell_counts& cell, int32_t recency_state) noexcept {
  if (cell.in_use == 0) return colour_free;
  if (cell.system_count > 0) return colour_system;
  // Ties go to settled before contiguous, and to either before fragmented:
  // a cell only shows as needing work when fragmentation strictly dominates.
  if (cell.settled_count >= cell.contiguous_count) {
    if (cell.settled_count >= cell.fragmented_count) return colour_settled;
  } else if (cell.contiguous_count >= cell.fragmented_count) {
    return colour_contiguous;
  }
  return recency_state == 1 ? colour_recently_defragged : colour_fragmented;
}

void fill_colour_table(const cell_map* cells, int32_t recency_state,
                       int32_t (&table)[cells_per_volume]) noexcept {
  for (int i = 0; i < cells_per_volume; ++i) {
    table[i] = cells != nullptr ? cell_colour((*cells)[i].counts(), recency_state) : colour_free;
  }
}

}  // namespace dravik
