#pragma once
// The engine's per-slot volume tables: what it knows of each slot's volume
// and the volume's open handle.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "state/cluster_cell.h"
#include "state/volume_handle.h"
#include "state/volume_slots.h"

namespace dravik {

// What the engine knows of one slot's volume. The loading thread writes the
// facts at load and a run never updates them, so every report shows the
// state found at load; the workers write the cells and fragmentation_text.
struct volume_table_entry {
  std::string file_system_name;  // "NTFS" selects the NTFS walks
  std::string total_size_text;   // "465.7 GB"
  std::string used_size_text;
  std::string fragmentation_text;  // worker writes it with the analysis page
  uint32_t bytes_per_cluster = 0;
  uint64_t used_clusters = 0;
  uint64_t free_clusters = 0;
  uint64_t clusters_per_cell = 0;
  // 1000 cells; null when the letter is not a fixed drive. Workers write the
  // counters, the colour exports read them.
  std::unique_ptr<cell_map> cells;

  // The drive letter while the slot's volume is open, else empty; and the
  // open volume handle (none when the slot has no map). The loading thread
  // writes both at load and they are closed at unload; any thread reads.
  std::string letter_string;
  volume_handle handle;
};

using volume_tables = std::array<volume_table_entry, slot_count>;

// Whether the slot's volume has a map: its handle is open. Handles change
// only at load and unload, so any thread may ask.
inline bool slot_has_map(const volume_tables& volumes, int32_t slot) noexcept {
  return slot >= 0 && slot < slot_count && volumes[slot].handle.is_open();
}

// The slot no longer has a map: its handle closed and its letter emptied.
inline void close_volume(volume_table_entry& entry) noexcept {
  entry.handle.close();
  entry.letter_string.clear();
}

// Every slot's volume closed; running it twice is harmless.
inline void close_volumes(volume_tables& volumes) noexcept {
  for (volume_table_entry& entry : volumes) close_volume(entry);
}

}  // namespace dravik
