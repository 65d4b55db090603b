#pragma once
// The start-up record of every fixed drive C to Z.

#include <cstdint>
#include <cstdio>

#include "cells/cell_updates.h"
#include "state/volume_tables.h"
#include "volume/volume_bitmap.h"

namespace dravik {

// For each letter C to Z whose drive is fixed: its file system, cluster counts
// and size texts, its cell map restored from "diskdata" (null file: zeros),
// and, when its volume opens and its bitmap reads (into bitmap, the geometry
// into cursor), its open handle and cell size. Returns the number of fixed
// drives, whether or not their volumes opened. Loading thread.
int32_t record_fixed_volumes(volume_tables& volumes, volume_bitmap& bitmap, cell_cursor& cursor,
                             std::FILE* disk_data);

}  // namespace dravik
