#include "dravik/advance_exports.h"

#include "advanced/engine_advance.h"
#include "core/engine_state.h"
#include "exports/open_flag_scope.h"

extern "C" int __cdecl DLL_Advance(void) {
  // Nothing may leave an exported function as an exception; a failure here
  // (out of memory) leaves the options as they were.
  try {
    dravik::engine_state* engine = dravik::current_engine();
    if (!engine || dravik::run_in_progress(engine->job) || engine->advance_dialog_open) return -1;
    const dravik::open_flag_scope open(engine->advance_dialog_open);
    return static_cast<int>(dravik::show_advance_dialog(*engine->advance_dialog,
                                                        engine->advance_state));
  } catch (...) {
    return -1;
  }
}
