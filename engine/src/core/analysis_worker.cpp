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

analysis_step installed_step;

void analyse_letters(engine_state& engine) {
  engine_globals& globals = engine.globals;
  engine_context& context = engine.context;
  begin_report_set(context.report_strings, globals.registry_report_present);

  for_each_job_letter(engine, [&engine](char letter, int32_t slot, int page_number) {
    const analysis_turn turn{letter, slot, page_number};
    if (installed_step) {
      installed_step(engine, turn);
    } else {
      analyse_volume(engine, turn);
    }
  });
}

void end_analysis(engine_state& engine) {
  engine_globals& globals = engine.globals;
  engine_context& context = engine.context;
  if (globals.run_mode == 1 || globals.run_mode == 2) {
    // A stopped analysis ends the job here: no defragmentation, no index.
    if (context.stop_requested != 0) return;
    context.stop_requested = 0;
    if (!start_worker(engine, globals.defrag_worker, &defrag_worker_proc)) {
      // As a defragmentation worker would have left the engine at its end.
      context.stop_requested = 1;
      globals.run_mode = 0;
    }
    return;
  }
  write_analysis_index(context.report_strings, globals.application_folder);
  globals.run_mode = 0;
  context.stop_requested = 1;
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
    engine.context.stop_requested = 1;
    engine.globals.run_mode = 0;
  }
  finish_worker(engine.globals, engine.globals.analysis_worker);
  return 0;
}

analysis_step install_analysis_step(analysis_step step) {
  std::swap(installed_step, step);
  return step;
}

}  // namespace dravik
