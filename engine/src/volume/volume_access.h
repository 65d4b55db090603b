#pragma once
// Opening volumes and reading their geometry and free space through the
// volume seam.

#include <string>

#include "core/engine_context.h"

namespace dravik {

// Opens "\\.\X:" for the slot (CreateFileA, GENERIC_EXECUTE, shared read and
// write). On success the slot's handle and letter string are set; on failure
// both stay empty, so the slot has no map.
bool open_volume(engine_context& context, int slot, const std::string& letter);

// Reads the slot's bitmap and fixes the context's clusters_per_cell and
// cells_filled from it. False when the read fails (the geometry is kept).
bool compute_cell_size(engine_context& context, int slot);

// The free runs of the bitmap last read, added to the context's maps.
void scan_free_runs_by_length(engine_context& context);
void scan_free_runs_by_start(engine_context& context);

}  // namespace dravik
