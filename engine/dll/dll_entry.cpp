// The entry of dravik.dll: loading the library builds the engine and runs
// the application object's start-up; freeing it runs the shut-down.

#include <windows.h>

#include <chrono>

#include "core/engine_lifetime.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return dravik::load_engine() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // reserved is non-null when the process is ending: its other threads
      // are gone already, so no worker can still clear its pointer.
      dravik::unload_engine(reserved != nullptr ? std::chrono::milliseconds(0)
                                                : dravik::default_worker_wait);
      return TRUE;
    default:
      return TRUE;
  }
}
