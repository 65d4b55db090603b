#pragma once
// The running job as the run exports, the workers, the status poll and the
// unload see it: whether a run is on, its workers, its letters and mode, the
// stop, and the volume the worker is on and the host is shown.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "state/shared_text.h"
#include "state/shared_value.h"

class CWinThread;  // the class library's worker thread object

namespace dravik {

struct job_control {
  // Run export writes from its start until it returns; a second run export
  // meanwhile is refused. The unload reads it.
  std::atomic<bool> run_active{false};
  // Held by a run export while it marks itself active, and by
  // DLL_SetCurrentVolume from its test that no run is active until it has
  // stored the working volume, so a starting run never has its working
  // volume changed under it.
  std::mutex selection_lock;

  // The running workers, null when none. The run export and the analysis
  // worker write them when they start one; a worker clears its own pointer as
  // its last act (finish_worker), under worker_end_lock, and signals
  // worker_ended, so a waiting run export returns as soon as both have ended.
  std::atomic<CWinThread*> analysis_worker{nullptr};
  std::atomic<CWinThread*> defrag_worker{nullptr};
  std::mutex worker_end_lock;
  std::condition_variable worker_ended;

  // Host (run exports, stop export) and workers write; workers poll it
  // between entries.
  shared_value<uint8_t> stop_requested{1};

  // Run export writes before it starts the analysis worker; workers read.
  // The buffer keeps a NUL after at most 255 letters.
  char volume_letters[256] = {};
  // Run export writes; workers read, and reset it to 0 at the job's end.
  int32_t run_mode = 0;  // 0 analyse, 1 defragment, 2 defragment and optimise

  // The slot the workers and the file queries work on, and its cluster size.
  // Workers write per volume; DLL_SetCurrentVolume writes while no run is
  // active (under selection_lock); the file query export reads.
  shared_value<int32_t> working_slot{0};
  shared_value<uint64_t> bytes_per_cluster{0};

  // What the host is shown: the slot it chose or the worker is on, and that
  // volume's recency. Workers and DLL_SetCurrentVolume write; the colour
  // exports and the status poll read.
  shared_value<int32_t> current_slot{0};
  shared_value<int32_t> recency_state{0};

  // The drive letter the worker is on. Workers write, the status poll reads.
  shared_text current_letter_text;

  // Registry report export sets it, showing the reports or a stop clears it;
  // workers read it when they begin their index page.
  std::atomic<int32_t> registry_report_present{0};
};

inline bool workers_running(const job_control& job) noexcept {
  return job.analysis_worker.load(std::memory_order_acquire) != nullptr ||
         job.defrag_worker.load(std::memory_order_acquire) != nullptr;
}

// A run export or a worker is still inside the engine.
inline bool run_in_progress(const job_control& job) noexcept {
  return job.run_active.load(std::memory_order_acquire) || workers_running(job);
}

}  // namespace dravik
