#include "engine/engine_job.h"

#include <memory>

#include "vemo/text_conversion.h"

namespace tessarel {
namespace {

// The thread's body. It returns from its procedure, so the job record and
// the narrow string are freed; the completion goes out even when the
// conversion failed, and a completion that cannot be posted is noted as
// lost, so the job machine always hears of the phase's end.
unsigned run_engine_job(void* argument, run_export engine_entry_points::*run) {
  const std::unique_ptr<engine_job> job(static_cast<engine_job*>(argument));
  try {
    const std::string narrow = vemo::narrow_text(job->letters);
    (job->engine->*run)(narrow.c_str());
  } catch (...) {
  }
  const wchar_t letter = job->letters.empty() ? L'\0' : job->letters.front();
  if (job->callback->post(letter, job->kind, job->serial)) return 0;
  job->callback->note_lost(job->serial);
  return 1;
}

unsigned __stdcall analysis_job_proc(void* job) {
  return run_engine_job(job, &engine_entry_points::analyse_volume);
}

unsigned __stdcall defrag_job_proc(void* job) {
  return run_engine_job(job, &engine_entry_points::defrag_volume);
}

unsigned __stdcall optimize_job_proc(void* job) {
  return run_engine_job(job, &engine_entry_points::optimized_defrag_volume);
}

bool start_job(engine_binding& binding, const std::wstring& letters, int kind, int serial,
               thread_procedure procedure) {
  auto job = std::make_unique<engine_job>();
  job->letters = letters;
  job->callback = &binding.completion();
  job->kind = kind;
  job->engine = &binding.entry_points();
  job->serial = serial;
  if (!binding.job_threads().start(procedure, job.get())) return false;
  job.release();  // the thread owns it now
  return true;
}

}  // namespace

bool start_analysis_job(engine_binding& binding, const std::wstring& letters, int serial) {
  return start_job(binding, letters, job_kind_analysis, serial, &analysis_job_proc);
}

bool start_defrag_job(engine_binding& binding, const std::wstring& letters, int serial) {
  return start_job(binding, letters, job_kind_defrag, serial, &defrag_job_proc);
}

bool start_optimize_job(engine_binding& binding, const std::wstring& letters, int serial) {
  return start_job(binding, letters, job_kind_defrag, serial, &optimize_job_proc);
}

}  // namespace tessarel
