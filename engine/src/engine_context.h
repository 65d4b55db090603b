#pragma once
// engine_context: the engine's one record of per-slot volume handles, the
// bitmap and extent buffers, the free-run maps and the state the workers and
// the exports share. Built at load before the application object, destroyed
// after it.

#include <windows.h>
#include <winioctl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "cell_updates.h"
#include "dravik/file_extent_info.h"
#include "free_runs.h"
#include "report_strings.h"
#include "shared_text.h"
#include "shared_value.h"
#include "volume_bitmap.h"
#include "volume_handle.h"
#include "volume_slots.h"
#include "walk_state.h"

namespace dravik {

struct engine_context {
  // Room for the extents of a few hundred fragments before the first growth.
  static constexpr uint32_t initial_extent_buffer_size = 3232;

  engine_context();
  ~engine_context();
  engine_context(const engine_context&) = delete;
  engine_context& operator=(const engine_context&) = delete;

  // Per slot: the drive letter while the slot's volume is open, else empty;
  // and the open volume handle (0 when the slot has no map). Set at load,
  // closed at unload.
  std::array<std::string, slot_count> letter_strings;
  std::array<volume_handle, slot_count> volume_handles;

  // Free runs of the last bitmap read. The analysis points the cursor at the
  // longest run; the movers walk it to the shortest run that fits a file.
  free_runs_by_length_map free_runs_by_length;
  free_runs_by_length_map::iterator free_run_cursor;
  free_runs_by_start_map free_runs_by_start;

  // Written by the exports and the workers, polled by the other side.
  shared_value<uint8_t> stop_requested{1};
  shared_value<uint8_t> optimising{0};

  // The report texts of the volume or registry report being written.
  report_strings report_strings;

  // The one bitmap buffer of every volume and every re-read.
  volume_bitmap bitmap;

  // One file's extents, and the buffer they are read into (never shrunk).
  FileExtentInfo file_extent_info{};
  std::unique_ptr<uint8_t[]> extent_buffer;
  uint32_t extent_buffer_size = 0;

  // The file a mover holds open while it works on it.
  volume_handle current_file;

  // The move in progress; moving and move_poll_count are polled for status.
  MOVE_FILE_DATA move_request{};
  shared_value<uint8_t> moving{0};
  shared_value<uint64_t> move_poll_count{0};

  // The walkers' place in the bound volume's map.
  cell_cursor cursor;

  // The directory walks' path, find record, counters and volume binding.
  // Worker thread only.
  walk_state walk;

  // Name (not path) of the directory entry the walk met last; the status
  // export reads it while the worker rewrites it.
  shared_text current_entry_name;

  // Geometry of the volume being worked on (compute_cell_size).
  uint64_t clusters_per_cell = 0;
  uint64_t cells_filled = 0;

  // The progress pair the status reports.
  shared_value<uint64_t> totalUnits{0};
  shared_value<uint64_t> doneUnits{0};

  // The slot the workers and the file queries work on, and its cluster size.
  int32_t working_slot = 0;
  uint64_t bytes_per_cluster = 0;
};

// The context's release at unload: the bitmap buffer, both free-run maps,
// every open volume handle, the extent buffer, the map binding and the report
// texts. Running it twice is harmless.
void destroy_engine_context(engine_context& context) noexcept;

}  // namespace dravik
