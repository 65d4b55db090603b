#include "dravik/advance_exports.h"

#include "advanced/engine_advance.h"

extern "C" int __cdecl DLL_Advance(void) {
  // Nothing may leave an exported function as an exception; a failure here
  // (out of memory) leaves the options as they were.
  try {
    const dravik::engine_advance_state* state = dravik::bound_engine_advance();
    if (!state) return -1;
    return static_cast<int>(dravik::show_advance_dialog(*state));
  } catch (...) {
    return -1;
  }
}
