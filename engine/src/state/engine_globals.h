#pragma once
// The engine's per-slot volume tables and its single global values.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "state/cluster_cell.h"
#include "state/shared_text.h"
#include "state/shared_value.h"
#include "state/volume_slots.h"

class CWinThread;  // the class library's worker thread object

namespace dravik {

// What the engine knows of one slot's volume. Taken once at load and never
// updated by a run, so every report shows the state found at load.
struct volume_table_entry {
  std::string file_system_name;  // "NTFS" selects the NTFS walks
  std::string total_size_text;   // "465.7 GB"
  std::string used_size_text;
  std::string fragmentation_text;  // set by the analysis page
  uint32_t bytes_per_cluster = 0;
  uint64_t used_clusters = 0;
  uint64_t free_clusters = 0;
  uint64_t clusters_per_cell = 0;
  // 1000 cells; null when the letter is not a fixed drive.
  std::unique_ptr<cell_map> cells;
};

using volume_tables = std::array<volume_table_entry, slot_count>;

struct engine_globals {
  // Folder of the running host executable, with its trailing backslash; every
  // engine file name is appended to it.
  std::string application_folder;
  std::string host_executable_path;

  // The drive letters of the running job, copied in by the run exports.
  char volume_letters[256] = {};
  int32_t run_mode = 0;  // 0 analyse, 1 defragment, 2 defragment and optimise

  shared_value<int32_t> current_slot{0};
  shared_value<int32_t> recency_state{0};
  int32_t fixed_volume_count = 0;

  // The running workers, null when none. A worker clears its own pointer as
  // its last act (finish_worker); the run exports and the unload wait on them.
  std::atomic<CWinThread*> analysis_worker{nullptr};
  std::atomic<CWinThread*> defrag_worker{nullptr};
  // A worker clears its pointer under this lock and signals, so a waiting
  // run export returns as soon as the workers have ended.
  std::mutex worker_end_lock;
  std::condition_variable worker_ended;
  // Set from the start of a run export until it returns; a second run
  // export meanwhile is refused.
  std::atomic<bool> run_active{false};

  // The drive letter the worker is on.
  shared_text current_letter_text;

  // Set by the registry report, cleared by showing the reports or a stop.
  std::atomic<int32_t> registry_report_present{0};
};

inline bool workers_running(const engine_globals& globals) noexcept {
  return globals.analysis_worker.load(std::memory_order_acquire) != nullptr ||
         globals.defrag_worker.load(std::memory_order_acquire) != nullptr;
}

// A run export or a worker is still inside the engine.
inline bool run_in_progress(const engine_globals& globals) noexcept {
  return globals.run_active.load(std::memory_order_acquire) || workers_running(globals);
}

}  // namespace dravik
