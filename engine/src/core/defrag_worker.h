#pragma once
// The defragmentation worker: the second of the engine's two worker threads,
// started by the analysis worker at the end of a defragmentation job (run
// modes 1 and 2) that was not stopped.

#include <windows.h>

namespace dravik {

// The thread procedure; its parameter is the engine_state. Takes the job's
// letters again, in order, while no stop is requested, and defragments each
// volume that has a map (defrag_volume); every letter takes a page number.
// Then writes the defragmentation index page, ends the job with
// stop_requested 1 and run_mode 0, and clears defrag_worker as its last act,
// so the run export returns only after the index page. Returns 0.
UINT __cdecl defrag_worker_proc(LPVOID engine);

}  // namespace dravik
