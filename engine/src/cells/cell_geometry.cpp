#include "cells/cell_geometry.h"

#include "dravik/cell_colours.h"

namespace dravik {

cell_geometry cell_geometry_of(uint64_t bitmap_clusters) noexcept {
  const uint64_t cells = cells_per_volume;
  uint64_t per_cell = bitmap_clusters / cells + (bitmap_clusters % cells != 0 ? 1 : 0);
  if (per_cell == 0) per_cell = 1;
  const uint64_t filled = bitmap_clusters / per_cell + (bitmap_clusters % per_cell != 0 ? 1 : 0);
  return {per_cell, filled};
}

int64_t cell_of_cluster(int64_t lcn, uint64_t clusters_per_cell) noexcept {
  const auto per_cell = static_cast<int64_t>(clusters_per_cell);
  const int64_t quotient = lcn / per_cell;
  const int64_t remainder = lcn % per_cell;
  // Cells count from cluster 1: a cluster on a cell's upper boundary belongs
  // to that cell, which is why cluster 0 falls before the first one.
  return remainder > 0 ? quotient : quotient - 1;
}

int64_t cell_within_map(int64_t index) noexcept {
  return index < 0 || index >= cells_per_volume ? cells_per_volume - 1 : index;
}

}  // namespace dravik
