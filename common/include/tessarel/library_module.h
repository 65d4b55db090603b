#pragma once
// One owner for a loaded library: freed exactly once, when its holder goes.

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace tessarel {

struct library_module_traits : null_means_none<HMODULE> {
  static bool close(HMODULE module) noexcept { return FreeLibrary(module) != FALSE; }
};

using unique_library_module = unique_handle<library_module_traits>;

}  // namespace tessarel
