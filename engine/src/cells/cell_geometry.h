#pragma once
// How a volume's clusters spread over the 1000 cells of its map.
//
// All arithmetic is 64-bit: on volumes below 2^31 clusters the results equal
// those of 32-bit arithmetic, and above that they stay right instead of going
// negative.

#include <cstdint>

namespace dravik {

struct cell_geometry {
  uint64_t clusters_per_cell;  // max(1, ceil(clusters / 1000))
  uint64_t cells_filled;       // ceil(clusters / clusters_per_cell), at most 1000
};

cell_geometry cell_geometry_of(uint64_t bitmap_clusters) noexcept;

// The cell of a cluster: cell k holds clusters k*C + 1 to (k+1)*C, so cluster
// 0 gives -1 and the last clusters of a volume may give 1000. clusters_per_cell
// must be at least 1; lcn is a real (non-negative) cluster number.
int64_t cell_of_cluster(int64_t lcn, uint64_t clusters_per_cell) noexcept;

// What the walks add to an LCN before it is mapped to a cell: FAT volumes
// number their data clusters from 2.
constexpr int64_t ntfs_lcn_offset = 0;
constexpr int64_t fat_lcn_offset = 2;

// A cell index as the cell updates use it: anything outside 0 to 999 becomes
// 999, the last cell.
int64_t cell_within_map(int64_t index) noexcept;

}  // namespace dravik
