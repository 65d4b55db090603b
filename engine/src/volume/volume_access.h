#pragma once
// Opening volumes and reading their geometry and free space through the
// volume seam.

#include <windows.h>

#include <string>

#include "cells/cell_updates.h"
#include "state/volume_tables.h"
#include "volume/volume_work.h"

namespace dravik {

// Opens "\\.\X:" for the slot (CreateFileA, GENERIC_EXECUTE, shared read and
// write). On success the slot's handle and letter string are set; on failure
// both stay empty, so the slot has no map.
bool open_volume(volume_tables& volumes, int slot, const std::string& letter);

// Reads the bitmap of volume and fixes the cursor's clusters_per_cell and
// cells_filled from it. False when the read fails (the geometry is kept).
bool compute_cell_size(volume_bitmap& bitmap, HANDLE volume, cell_cursor& cursor);

// The free runs of the bitmap last read, added to the work's maps.
void scan_free_runs_by_length(volume_work& work);
void scan_free_runs_by_start(volume_work& work);

}  // namespace dravik
