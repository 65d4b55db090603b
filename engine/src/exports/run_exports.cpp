#include "dravik/run_exports.h"

#include <cstring>

#include "core/analysis_worker.h"
#include "core/engine_state.h"
#include "core/engine_workers.h"

namespace dravik {

namespace {

enum run_mode_value : int32_t { mode_analyse = 0, mode_defragment = 1, mode_optimise = 2 };

int run_job(const char* letters, int32_t mode) noexcept {
  engine_state* engine = current_engine();
  if (engine == nullptr) return 1;
  job_control& job = engine->job;
  // A second job would rewrite the letters and the mode under the running
  // workers.
  if (!begin_run(job)) return 1;

  // The buffer keeps a NUL after at most 255 letters.
  std::memset(job.volume_letters, 0, sizeof job.volume_letters);
  if (letters != nullptr) {
    std::memcpy(job.volume_letters, letters, strnlen(letters, sizeof job.volume_letters - 1));
  }
  job.run_mode = mode;
  job.stop_requested = 0;

  // The analysis worker records a defragmentation worker before it clears
  // its own pointer, so waiting for both never sees the gap between them.
  // A worker that could not start leaves both null: the wait ends at once.
  start_worker(*engine, job.analysis_worker, &analysis_worker_proc);
  wait_for_workers(job);
  end_run(job);
  return 1;
}

}  // namespace

}  // namespace dravik

extern "C" int __cdecl DLL_AnalyseVolume(const char* letters) {
  return dravik::run_job(letters, dravik::mode_analyse);
}

extern "C" int __cdecl DLL_DefragVolume(const char* letters) {
  return dravik::run_job(letters, dravik::mode_defragment);
}

extern "C" int __cdecl DLL_OptimizedDefragVolume(const char* letters) {
  return dravik::run_job(letters, dravik::mode_optimise);
}

extern "C" void __cdecl DLL_WorkingStop(void) {
  dravik::engine_state* engine = dravik::current_engine();
  if (engine == nullptr) return;
  engine->job.stop_requested = 1;
  engine->job.registry_report_present = 0;
}
