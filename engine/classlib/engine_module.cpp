#include "classlib/engine_module.h"

HMODULE engine_module() {
  // The module is found from an address inside it, so the answer is right
  // whether the engine lives in the DLL or was linked into an executable, and
  // nothing has to record the handle at load.
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&engine_module), &module);
  return module;
}
