#include "volume/volume_access.h"

#include <cstdio>

#include "cells/cell_geometry.h"
#include "platform/volume_io.h"

namespace dravik {

bool open_volume(engine_context& context, int slot, const std::string& letter) {
  char path[16];
  std::snprintf(path, sizeof path, "\\\\.\\%.1s:", letter.c_str());
  const HANDLE handle = current_volume_io().create_file(
      path, GENERIC_EXECUTE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL);
  context.volume_handles[slot].reset(handle);
  // The letter names an open volume only: a slot whose open failed must not
  // look half-mapped to whoever reads the letter strings.
  if (!context.volume_handles[slot].is_open()) {
    context.letter_strings[slot].clear();
    return false;
  }
  context.letter_strings[slot] = letter;
  return true;
}

bool compute_cell_size(engine_context& context, int slot) {
  if (!context.bitmap.read(context.volume_handles[slot].get())) return false;
  const cell_geometry geometry = cell_geometry_of(context.bitmap.bitmap_clusters());
  context.clusters_per_cell = geometry.clusters_per_cell;
  context.cells_filled = geometry.cells_filled;
  return true;
}

void scan_free_runs_by_length(engine_context& context) {
  scan_free_runs_by_length(context.bitmap.view(), context.free_runs_by_length);
}

void scan_free_runs_by_start(engine_context& context) {
  scan_free_runs_by_start(context.bitmap.view(), context.free_runs_by_start);
}

}  // namespace dravik
