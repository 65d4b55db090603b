#pragma once
// "diskdata": the saved cell maps, one record of 24000 bytes per volume slot
// at slot x 24000, each counter a little-endian int32 in cell order.

#include <cstdio>
#include <string>

#include "state/cluster_cell.h"

namespace dravik {

// Fills cells from the slot's record of an open "diskdata"; bytes the file
// does not hold leave their counters 0. A null file gives all zeros.
void read_cell_map(std::FILE* disk_data, int slot, cell_map& cells);

// Writes the slot's record into an open "diskdata" (opened for update, never
// created). Returns false when the seek or the write fails.
bool write_cell_map(std::FILE* disk_data, int slot, const cell_map& cells);

}  // namespace dravik
