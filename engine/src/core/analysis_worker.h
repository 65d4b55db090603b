#pragma once
// The analysis worker: the first of the engine's two worker threads. The run
// exports start it for the job in volume_letters and wait until it (and, for
// a defragmentation, the worker it starts) has ended.

#include <windows.h>

#include "core/engine_state.h"

namespace dravik {

// The thread procedure; its parameter is the engine_state. Takes the job's
// letters in order while no stop is requested, analysing each volume that has
// a map; then, by run_mode, starts the defragmentation worker (modes 1 and 2,
// not after a stop) or writes the analysis index page (mode 0, which ends the
// run with stop_requested 1). Clears analysis_worker as its last act, after
// any defragmentation worker is recorded. Returns 0.
UINT __cdecl analysis_worker_proc(LPVOID engine);

// Tests put their own step in place of analyse_volume to watch the worker's
// sequence; an empty step puts analyse_volume back. Install only while no
// run is active. Returns the step it replaces (empty: analyse_volume).
analysis_step install_analysis_step(engine_state& engine, analysis_step step);

}  // namespace dravik
