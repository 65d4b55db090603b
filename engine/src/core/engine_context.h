#pragma once
// engine_context: the engine's one record of per-slot volume handles, the
// bitmap and extent buffers, the free-run maps and the state the workers and
// the exports share. Built at load before the application object, destroyed
// after it.

#include <windows.h>
#include <winioctl.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "cells/cell_updates.h"
#include "volume/free_runs.h"
#include "reports/report_strings.h"
#include "state/shared_name.h"
#include "state/shared_value.h"
#include "volume/volume_bitmap.h"
#include "state/volume_handle.h"
#include "state/volume_slots.h"
#include "state/walk_state.h"

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

  // The walkers' and movers' extent buffer (never shrunk). The file query
  // of the exports has a buffer of its own.
  std::unique_ptr<uint8_t[]> extent_buffer;
  uint32_t extent_buffer_size = 0;

  // The file a mover holds open while it works on it.
  volume_handle current_file;
  // Where the next extent of the file being moved goes.
  uint64_t target_lcn = 0;

  // The move in progress. Fill move_request with set_move_request, which
  // also publishes its source and target for the status poll.
  MOVE_FILE_DATA move_request{};
  shared_value<uint8_t> moving{0};
  // Reset by the mover for each file, counted up by every status poll while
  // moving: the only value both sides write, hence a full atomic.
  std::atomic<uint64_t> move_poll_count{0};
  shared_value<uint64_t> move_source{0};  // starting VCN of move_request
  shared_value<uint64_t> move_target{0};  // starting LCN of move_request
  // The recorded position of the optimisation entry being moved: the source
  // the status shows while optimising.
  shared_value<uint64_t> optimize_source{0};

  // The walkers' place in the bound volume's map.
  cell_cursor cursor;

  // The directory walks' path, find record, counters and volume binding.
  // Worker thread only.
  walk_state walk;

  // Geometry of the volume being worked on (compute_cell_size).
  uint64_t clusters_per_cell = 0;
  uint64_t cells_filled = 0;

  // The progress pair the status reports, and the name of the directory
  // entry the walk read last (set for every entry it reads).
  shared_value<uint64_t> totalUnits{0};
  shared_value<uint64_t> doneUnits{0};
  shared_name current_entry_name;

  // The slot the workers and the file queries work on, and its cluster size.
  // Set by the workers per volume and by DLL_SetCurrentVolume while no run
  // is active.
  shared_value<int32_t> working_slot{0};
  shared_value<uint64_t> bytes_per_cluster{0};
};

// Whether the slot's volume has a map: its handle is open. Handles change
// only at load and unload, so any thread may ask.
inline bool slot_has_map(const engine_context& context, int32_t slot) noexcept {
  return slot >= 0 && slot < slot_count && context.volume_handles[slot].is_open();
}

// Fills move_request for one FSCTL_MOVE_FILE and publishes its source and
// target for the status poll. Worker thread.
void set_move_request(engine_context& context, HANDLE file, int64_t starting_vcn,
                      int64_t starting_lcn, DWORD cluster_count) noexcept;

// The context's release at unload: the bitmap buffer, both free-run maps,
// every open volume handle, the extent buffer, the map binding and the report
// texts. Running it twice is harmless.
void destroy_engine_context(engine_context& context) noexcept;

}  // namespace dravik
