#include "core/engine_workers.h"

#include <chrono>

#include "core/engine_state.h"

namespace dravik {

namespace {

// The longest a waiting run export sleeps before it looks at the worker
// pointers again, even without a signal.
constexpr std::chrono::milliseconds worker_poll{1000};

}  // namespace

bool start_worker(engine_state& engine, std::atomic<CWinThread*>& worker, AFX_THREADPROC proc) {
  CWinThread* thread =
      AfxBeginThread(proc, &engine, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  worker.store(thread, std::memory_order_release);
  if (thread == nullptr) return false;
  // The thread may end and delete its object as soon as it runs: the pointer
  // is not used after this call.
  thread->ResumeThread();
  return true;
}

void finish_worker(job_control& job, std::atomic<CWinThread*>& worker) noexcept {
  try {
    std::lock_guard<std::mutex> hold(job.worker_end_lock);
    worker.store(nullptr, std::memory_order_release);
    job.worker_ended.notify_all();
  } catch (...) {
    // Without the lock the pointer is still cleared; a waiter then notices
    // at its next poll.
    worker.store(nullptr, std::memory_order_release);
  }
}

void wait_for_workers(job_control& job) noexcept {
  try {
    std::unique_lock<std::mutex> hold(job.worker_end_lock);
    while (workers_running(job)) job.worker_ended.wait_for(hold, worker_poll);
  } catch (...) {
    while (workers_running(job)) Sleep(static_cast<DWORD>(worker_poll.count()));
  }
}

bool begin_run(job_control& job) noexcept {
  try {
    std::lock_guard<std::mutex> selecting(job.selection_lock);
    if (job.run_active.exchange(true, std::memory_order_acq_rel)) return false;
    if (workers_running(job)) {
      job.run_active.store(false, std::memory_order_release);
      return false;
    }
    return true;
  } catch (...) {
    // The lock could not be taken: no run without it.
    return false;
  }
}

void end_run(job_control& job) noexcept {
  job.run_active.store(false, std::memory_order_release);
}

void settle_worker_ends(job_control& job) noexcept {
  try {
    std::lock_guard<std::mutex> hold(job.worker_end_lock);
  } catch (...) {
  }
}

}  // namespace dravik
