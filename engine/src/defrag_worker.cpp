#include "defrag_worker.h"

#include <cstring>
#include <string>

#include "defrag_volume.h"
#include "engine_state.h"
#include "engine_workers.h"
#include "report_index.h"

namespace dravik {

namespace {

void defragment_letters(engine_state& engine) {
  engine_globals& globals = engine.globals;
  engine_context& context = engine.context;
  context.walk.interrupted = 0;
  begin_report_set(context.report_strings, globals.registry_report_present);

  // As in the analysis, every letter takes a page number.
  int page_number = 0;
  const size_t letter_count = strnlen(globals.volume_letters, sizeof globals.volume_letters);
  for (size_t position = 0; position < letter_count && context.stop_requested == 0; ++position) {
    const char letter = globals.volume_letters[position];
    ++page_number;
    globals.current_letter_text.set(std::string(1, letter));
    const int32_t slot = slot_of_letter(static_cast<unsigned char>(letter));
    globals.current_slot = slot;
    if (!slot_has_map(context, slot)) continue;
    defrag_volume(engine, defrag_turn{letter, slot, page_number});
  }
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
