#pragma once
// The registry workers the main window starts: scan or scan-and-clean
// threads whose handles are kept, so that the engine (whose report export a
// worker calls) is unloaded only after every one has ended. User interface
// thread only.

#include "engine/job_threads.h"
#include "job/job_host.h"

namespace tessarel {

class registry_workers {
 public:
  registry_workers() = default;
  // Waits as wait_all does.
  ~registry_workers() { wait_all(); }
  registry_workers(const registry_workers&) = delete;
  registry_workers& operator=(const registry_workers&) = delete;

  // Starts the worker of run. False when the thread could not be started
  // (then no record will come).
  bool start(registry_run run);

  bool any_running() { return threads_.any_running(); }

  // Asks every worker still running to stop, then returns when all have
  // ended, dispatching this thread's messages meanwhile: a worker sends its
  // progress records to a window of this thread and waits for each.
  void wait_all();

 private:
  job_thread_set threads_;
};

}  // namespace tessarel
