#include "dravik/volume_exports.h"

#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "cells/colour_rule.h"
#include "files/defrag_date_file.h"
#include "core/engine_state.h"

namespace dravik {

namespace {

bool valid_cell(int cell) noexcept { return cell >= 0 && cell < cells_per_volume; }

// The slot's cells when its volume has a map, else null.
const cell_map* mapped_cells(const engine_state& engine, int32_t slot) noexcept {
  return slot_has_map(engine.volumes, slot) ? engine.volumes[slot].cells.get() : nullptr;
}

// Copies text into a field of size bytes, cut to fit with its NUL.
template <size_t size>
void copy_field(char (&field)[size], const std::string& text) noexcept {
  const size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  std::memset(field + length, 0, size - length);
}

}  // namespace

}  // namespace dravik

using namespace dravik;

extern "C" int32_t* __cdecl DLL_GetVolumeColorTable(int letter) {
  static CellColorTable unloaded{};
  engine_state* engine = current_engine();
  if (engine == nullptr) return unloaded;
  fill_colour_table(mapped_cells(*engine, slot_of_letter(letter)), engine->job.recency_state,
                    engine->colour_table);
  return engine->colour_table;
}

extern "C" int32_t __cdecl DLL_GetVolumeSectorColor(int letter, int cell) {
  const engine_state* engine = current_engine();
  if (engine == nullptr || !valid_cell(cell)) return colour_free;
  const cell_map* cells = mapped_cells(*engine, slot_of_letter(letter));
  if (cells == nullptr) return colour_free;
  return cell_colour((*cells)[static_cast<size_t>(cell)].counts(), engine->job.recency_state);
}

extern "C" CellFileList* __cdecl DLL_GetVolumeSectorFilesList(int letter, int cell) {
  // Handed out for a cell that does not exist; the host only reads it.
  static CellFileList no_files;
  engine_state* engine = current_engine();
  if (engine == nullptr || !valid_cell(cell)) return &no_files;
  return &engine->file_lists[static_cast<size_t>(slot_of_letter(letter))].list(cell);
}

extern "C" FileExtentInfo* __cdecl DLL_GetVolumeSectorFileInfo(const char* path) {
  engine_state* engine = current_engine();
  if (engine == nullptr) return nullptr;
  try {
    return engine->file_query.read(path, engine->job.bytes_per_cluster);
  } catch (...) {
    return nullptr;
  }
}

extern "C" void __cdecl DLL_SetCurrentVolume(int letter) {
  engine_state* engine = current_engine();
  if (engine == nullptr) return;
  job_control& job = engine->job;
  const int32_t slot = slot_of_letter(letter);
  job.current_slot = slot;
  if (!slot_has_map(engine->volumes, slot)) return;

  try {
    job.recency_state = read_recency_state(engine->globals.application_folder + "defragdate", slot,
                                           std::time(nullptr));
  } catch (...) {
    // Out of memory for the file name: the recency stays as it was.
  }
  // The workers bind their own volume; a host that selects another one
  // during a run changes only what it is shown. The test and the store are
  // one step for a run export starting on another thread.
  try {
    std::lock_guard<std::mutex> selecting(job.selection_lock);
    if (run_in_progress(job)) return;
    if (engine->selection_hook) engine->selection_hook();
    job.bytes_per_cluster = engine->volumes[slot].bytes_per_cluster;
    job.working_slot = slot;
  } catch (...) {
    // The lock could not be taken: the working volume stays as it was.
  }
}

extern "C" VolumeInfo* __cdecl DLL_GetVolumeInfo(int letter) {
  engine_state* engine = current_engine();
  if (engine == nullptr) return nullptr;
  const int32_t slot = slot_of_letter(letter);
  if (!slot_has_map(engine->volumes, slot)) return nullptr;

  const volume_table_entry& entry = engine->volumes[slot];
  VolumeInfo& info = engine->volume_info;
  copy_field(info.totalSizeText, entry.total_size_text);
  copy_field(info.fileSystem, entry.file_system_name);
  copy_field(info.usedSizeText, entry.used_size_text);
  info.clustersPerCell = entry.clusters_per_cell;
  info.freeClusters = entry.free_clusters;
  info.usedClusters = entry.used_clusters;
  info.bytesPerCluster = entry.bytes_per_cluster;
  return &info;
}
