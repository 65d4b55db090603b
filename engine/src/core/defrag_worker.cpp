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
  engine.walk.interrupted = 0;
  begin_report_set(engine.report_strings, engine.job.registry_report_present);

  const defrag_volume_records records = defrag_records_of(engine);
  for_each_job_letter(engine, [&records](char letter, int32_t slot, int page_number) {
    defrag_volume(records, defrag_turn{letter, slot, page_number});
  });
  write_defrag_index(engine.report_strings, engine.globals.application_folder);
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
  engine.job.stop_requested = 1;
  engine.job.run_mode = 0;
  // The run export returns once this is done, so after the index page.
  finish_worker(engine.job, engine.job.defrag_worker);
  return 0;
}

}  // namespace dravik
