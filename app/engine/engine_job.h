#pragma once
// The volume phase of a job on a thread of its own: the thread calls one run
// export for all the job's letters, which blocks until the engine's workers
// have ended, then posts the completion to the user interface thread and
// ends. Start functions: user interface thread.

#include <string>

#include "engine/engine_binding.h"

namespace tessarel {

// Job kinds, as the completion reports them.
constexpr int job_kind_analysis = 0;
constexpr int job_kind_defrag = 1;  // plain or optimised

// What one job thread needs; made whole before the thread starts, then owned
// by the thread, which frees it.
struct engine_job {
  std::wstring letters;                          // all the job's drive letters, "CD"
  const job_completion_window* callback = nullptr;  // where the completion goes
  int kind = job_kind_analysis;
  const engine_entry_points* engine = nullptr;   // the binding's, which outlives the thread
  int serial = 0;                                // the job machine's volume phase
};

// Each starts a job thread for letters that calls DLL_AnalyseVolume,
// DLL_DefragVolume or DLL_OptimizedDefragVolume once with the letters as
// ANSI text, then delivers (first letter, kind, serial, 0) to the binding's
// completion callback on the user interface thread, or notes the completion
// of serial lost when it cannot. False when the thread could not be started:
// nothing was called and no completion will come.
bool start_analysis_job(engine_binding& binding, const std::wstring& letters, int serial);
bool start_defrag_job(engine_binding& binding, const std::wstring& letters, int serial);
bool start_optimize_job(engine_binding& binding, const std::wstring& letters, int serial);

}  // namespace tessarel
