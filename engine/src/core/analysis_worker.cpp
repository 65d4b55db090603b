#include "core/analysis_worker.h"

#include <cstring>
#include <string>
#include <utility>

#include "core/defrag_worker.h"
#include "core/engine_state.h"
#include "core/engine_workers.h"
#include "core/job_letters.h"
#include "reports/report_index.h"

namespace dravik {

namespace {

void analyse_letters(engine_state& engine) {
  begin_report_set(engine.report_strings, engine.job.registry_report_present);

  const analysis_volume_records records = analysis_records_of(engine);
  for_each_job_letter(engine, [&engine, &records](char letter, int32_t slot, int page_number) {
    const analysis_turn turn{letter, slot, page_number};
    if (engine.installed_step) {
      engine.installed_step(engine, turn);
    } else {
      analyse_volume(records, turn);
    }
  });
}

void end_analysis(engine_state& engine) {
  job_control& job = engine.job;
  if (job.run_mode == 1 || job.run_mode == 2) {
    // A stopped analysis ends the job here: no defragmentation, no index.
    // The flag is taken and cleared in one step, so a stop made at any
    // moment is either seen here or left for the defragmentation worker's
    // first test, never cleared unseen.
    if (job.stop_requested.exchange(0) != 0) {
      job.stop_requested = 1;
      return;
    }
    if (engine.after_stop_taken) engine.after_stop_taken(engine);
    if (!start_worker(engine, job.defrag_worker, &defrag_worker_proc)) {
      // As a defragmentation worker would have left the engine at its end.
      job.stop_requested = 1;
      job.run_mode = 0;
    }
    return;
  }
  write_analysis_index(engine.report_strings, engine.globals.application_folder);
  job.run_mode = 0;
  job.stop_requested = 1;
}

}  // namespace

UINT __cdecl analysis_worker_proc(LPVOID parameter) {
  engine_state& engine = *static_cast<engine_state*>(parameter);
  try {
    analyse_letters(engine);
    end_analysis(engine);
  } catch (...) {
    // Out of memory part-way: the job ends as a stopped one would, and the
    // run export still returns.
    engine.job.stop_requested = 1;
    engine.job.run_mode = 0;
  }
  finish_worker(engine.job, engine.job.analysis_worker);
  return 0;
}

analysis_step install_analysis_step(engine_state& engine, analysis_step step) {
  std::swap(engine.installed_step, step);
  return step;
}

}  // namespace dravik
