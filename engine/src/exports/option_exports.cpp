#include "dravik/option_exports.h"

#include "options/engine_options.h"

using dravik::bound_engine_options;

extern "C" void __cdecl DLL_Options(void) {
  // Nothing may leave an exported function as an exception; a failure here
  // (out of memory) leaves the options as they were.
  try {
    if (const dravik::engine_option_state* state = bound_engine_options())
      dravik::show_options_dialog(*state);
  } catch (...) {
  }
}

extern "C" bool __cdecl DLL_GetAutoRun(void) {
  const dravik::engine_option_state* state = bound_engine_options();
  return state && state->flags.auto_run != 0;
}

extern "C" bool __cdecl DLL_GetLogout(void) {
  const dravik::engine_option_state* state = bound_engine_options();
  return state && state->flags.logout != 0;
}

extern "C" bool __cdecl DLL_GetRestart(void) {
  const dravik::engine_option_state* state = bound_engine_options();
  return state && state->flags.restart != 0;
}
