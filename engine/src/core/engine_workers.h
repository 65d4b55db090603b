#pragma once
// The engine's two worker threads as the run exports, the workers themselves
// and the unload see them: starting one so that its pointer is recorded
// before it runs, ending one so that waiters wake, and waiting for both.

#include <atomic>

#include "classlib/cwinthread.h"
#include "state/job_control.h"

namespace dravik {

struct engine_state;

// Starts proc with the engine as its parameter: created suspended, recorded
// in worker, then resumed, so that a worker that ends at once cannot clear
// its pointer before it is stored (which would leave a pointer to a freed
// thread for the run export to wait on forever). False, with worker null,
// when the thread cannot be created.
bool start_worker(engine_state& engine, std::atomic<CWinThread*>& worker, AFX_THREADPROC proc);

// A worker's last act on the engine: clears its pointer and wakes the run
// export waiting for it. Nothing of the engine may be touched afterwards: the
// unload may free it at once.
void finish_worker(job_control& job, std::atomic<CWinThread*>& worker) noexcept;

// Returns once both worker pointers are null. Job thread of the host.
void wait_for_workers(job_control& job) noexcept;

// Marks a run export as active; false when another run is active already
// (or a worker still runs), in which case nothing is marked.
bool begin_run(job_control& job) noexcept;
// The run export's last act on the engine.
void end_run(job_control& job) noexcept;

// For the unload, once it has seen no run in progress: returns when the last
// worker has left finish_worker, so the engine can be freed under nobody.
void settle_worker_ends(job_control& job) noexcept;

}  // namespace dravik
