#pragma once
// One cell of a volume's 1000-cell map: six counters that the analysis, the
// movers and the optimisation pass keep, saved in "diskdata".

#include <array>
#include <cstdint>

#include "dravik/cell_colours.h"
#include "state/shared_value.h"

namespace dravik {

// The counters as plain values, in their saved order.
struct cell_counts {
  int32_t in_use;            // 1 when the cell holds anything
  int32_t system_count;      // contributions made under "system32"
  int32_t reserved;          // never counted; only what "diskdata" held
  int32_t fragmented_count;  // extents of files to be defragmented
  int32_t contiguous_count;  // cells covered by files in one extent
  int32_t settled_count;     // extents of fragmented files that need no move
};

// The live counters: a worker writes them while the program's timer reads
// colours from them, so each is a shared_value (24 bytes all the same).
struct cluster_cell {
  shared_value<int32_t> in_use;
  shared_value<int32_t> system_count;
  shared_value<int32_t> reserved;
  shared_value<int32_t> fragmented_count;
  shared_value<int32_t> contiguous_count;
  shared_value<int32_t> settled_count;

  cell_counts counts() const noexcept {
    return {in_use, system_count, reserved, fragmented_count, contiguous_count, settled_count};
  }
  void assign(const cell_counts& c) noexcept {
    in_use = c.in_use;
    system_count = c.system_count;
    reserved = c.reserved;
    fragmented_count = c.fragmented_count;
    contiguous_count = c.contiguous_count;
    settled_count = c.settled_count;
  }
};

static_assert(sizeof(cell_counts) == 24);
static_assert(sizeof(cluster_cell) == 24);

// A volume's map, one cell per cells_per_volume; built zeroed.
using cell_map = std::array<cluster_cell, cells_per_volume>;

// Bytes of one slot's record in "diskdata".
constexpr long cell_map_bytes = cells_per_volume * static_cast<long>(sizeof(cell_counts));

}  // namespace dravik
