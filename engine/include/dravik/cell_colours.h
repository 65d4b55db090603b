#pragma once
// The colour codes of the engine's map cells. A code is also the index of the
// program's palette entry for the block.

#include <cstdint>

namespace dravik {

// Cells per volume map: the program shows them on the outer 1000 blocks.
constexpr int cells_per_volume = 1000;

constexpr int32_t colour_free = 0;                // nothing in the cell, or no map
constexpr int32_t colour_recently_defragged = 1;  // fragmented, volume defragmented lately
constexpr int32_t colour_system = 2;              // holds something under "system32"
constexpr int32_t colour_settled = 3;             // fragmented files that need no move
constexpr int32_t colour_contiguous = 4;          // files lying in one extent
constexpr int32_t colour_fragmented = 5;          // files to be defragmented

}  // namespace dravik

// The colour codes of one volume's cells, in cell order.
using CellColorTable = int32_t[dravik::cells_per_volume];
