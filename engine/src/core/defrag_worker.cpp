#include "core/defrag_worker.h"

#include <cstring>
#include <string>

#include "defrag/defrag_volume.h"
#include "core/engine_state.h"
#include "core/engine_workers.h"
#include "core/job_letters.h"
#include "reports/report_index.h"

namespace dravik {

namespace {

void defragment_letters(engine_state& engine) {
  engine_globals& globals = engine.globals;
  engine_context& context = engine.context;
  context.walk.interrupted = 0;
  begin_report_set(context.report_strings, globals.registry_report_present);

  for_each_job_letter(engine, [&engine](char letter, int32_t slot, int page_number) {
    defrag_volume(engine, defrag_turn{letter, slot, page_number});
  });
  write_defrag_index(context.report_strings, globals.application_folder);
}

}  // namespace

UINT __cdecl defrag_worker_proc(LPVOID parameter) {
  engine_state& engine = *static_cast<engine_state*>(parameter);
  try {
    defragment_letters(engine);
  } catch (...) {
    // Out of memory part-way: the job ends without its index page, and the
    // run export still returns.
  }
  engine.context.stop_requested = 1;
  engine.globals.run_mode = 0;
  // The run export returns once this is done, so after the index page.
  finish_worker(engine.globals, engine.globals.defrag_worker);
  return 0;
}

}  // namespace dravik
