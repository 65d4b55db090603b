#pragma once
// The share of a volume's map where fragmentation dominates, as the analysis
// page reports it.

#include <algorithm>
#include <cstddef>
#include <string>

namespace dravik {

// Counts the cells that hold something, hold nothing counted under
// "system32", and whose fragmented count exceeds both the contiguous and the
// settled count: the cells the colour rule shows as fragmented. Cell is any
// record with the int32 counters in_use, system_count, fragmented_count,
// contiguous_count and settled_count (the map's cell record).
template <typename Cell>
int count_fragmentation_cells(const Cell* cells, std::size_t count) {
  int found = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Cell& cell = cells[i];
    if (cell.in_use > 0 && cell.system_count == 0 &&
        std::max(cell.contiguous_count, cell.settled_count) < cell.fragmented_count) {
      ++found;
    }
  }
  return found;
}

// The count as a share of the map's 1000 cells, cut (not rounded) after two
// decimals: 123 gives "12.30%", 0 gives "0.00%", 1000 gives "100.00%".
std::string fragmentation_percentage(int fragmentation_cells);

}  // namespace dravik
