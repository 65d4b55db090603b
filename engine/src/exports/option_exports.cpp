#include "dravik/option_exports.h"

#include "core/engine_state.h"
#include "exports/open_flag_scope.h"
#include "options/engine_options.h"

using dravik::current_engine;
using dravik::engine_state;

extern "C" void __cdecl DLL_Options(void) {
  // Nothing may leave an exported function as an exception; a failure here
  // (out of memory) leaves the options as they were.
  try {
    engine_state* engine = current_engine();
    // Confirming during a run would free the lists a walker is reading.
    if (!engine || dravik::run_in_progress(engine->job) || engine->filter_dialog_open) return;
    const dravik::open_flag_scope open(engine->filter_dialog_open);
    dravik::show_options_dialog(*engine->filter_dialog, engine->option_state);
  } catch (...) {
  }
}

extern "C" bool __cdecl DLL_GetAutoRun(void) {
  const engine_state* engine = current_engine();
  return engine && engine->options.auto_run_flag != 0;
}

extern "C" bool __cdecl DLL_GetLogout(void) {
  const engine_state* engine = current_engine();
  return engine && engine->options.logout_flag != 0;
}

extern "C" bool __cdecl DLL_GetRestart(void) {
  const engine_state* engine = current_engine();
  return engine && engine->options.restart_flag != 0;
}
