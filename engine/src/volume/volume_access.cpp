#include "volume/volume_access.h"

#include <cstdio>

#include "cells/cell_geometry.h"
#include "platform/volume_io.h"
#include "volume/redirection_off.h"

namespace dravik {

bool open_volume(volume_tables& volumes, int slot, const std::string& letter) {
  char path[16];
  std::snprintf(path, sizeof path, "\\\\.\\%.1s:", letter.c_str());
  const redirection_off real_names;
  const HANDLE handle = current_volume_io().create_file(
      path, GENERIC_EXECUTE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL);
  volume_table_entry& entry = volumes[slot];
  entry.handle.reset(handle);
  // The letter names an open volume only: a slot whose open failed must not
  // look half-mapped to whoever reads the letter strings.
  if (!entry.handle.is_open()) {
    entry.letter_string.clear();
    return false;
  }
  entry.letter_string = letter;
  return true;
}

bool compute_cell_size(volume_bitmap& bitmap, HANDLE volume, cell_cursor& cursor) {
  if (!bitmap.read(volume)) return false;
  const cell_geometry geometry = cell_geometry_of(bitmap.bitmap_clusters());
  cursor.clusters_per_cell = geometry.clusters_per_cell;
  cursor.cells_filled = geometry.cells_filled;
  return true;
}

void scan_free_runs_by_length(volume_work& work) {
  scan_free_runs_by_length(work.bitmap.view(), work.free_runs_by_length);
}

void scan_free_runs_by_start(volume_work& work) {
  scan_free_runs_by_start(work.bitmap.view(), work.free_runs_by_start);
}

}  // namespace dravik
