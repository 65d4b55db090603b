#pragma once
// The defragmentation worker: the second of the engine's two worker threads,
// started by the analysis worker at the end of a defragmentation job (run
// modes 1 and 2) that was not stopped.

#include <windows.h>

namespace dravik {

// The thread procedure; its parameter is the engine_state. Ends the job with
// stop_requested 1 and run_mode 0, and clears defrag_worker as its last act.
// Returns 0.
UINT __cdecl defrag_worker_proc(LPVOID engine);

}  // namespace dravik
