#pragma once
// comctl32.dll and gdiplus.dll, which the program loads itself from the
// system folder (tessarel/system_library.h says why), and the functions it
// takes from them. Each library is loaded once per process, on first use,
// and stays loaded until the process ends.
//
// Any thread; the start-up loads both before anything else uses them.

#include <windows.h>

#include <commctrl.h>

#include "map/gdiplus_functions.h"

namespace tessarel {

// Loads both libraries, and msimg32.dll which system libraries load by bare
// name, and takes every function the program calls from them. Throws
// system_library_error naming the library or the first missing function;
// what could not be had is not kept, and a later call tries again.
void load_system_libraries();

// InitCommonControlsEx of the system folder's comctl32.dll. Throws
// system_library_error as load_system_libraries does.
BOOL init_common_controls(const INITCOMMONCONTROLSEX& controls);

// The GDI+ functions of gdiplus_functions.h, taken from the system folder's
// gdiplus.dll: entry(id) is never null.
class gdiplus_entries {
 public:
  FARPROC entry(gdiplus_function id) const noexcept { return entries_[static_cast<int>(id)]; }

 private:
  friend class gdiplus_loader;
  FARPROC entries_[static_cast<int>(gdiplus_function::count)] = {};
};

// Throws system_library_error as load_system_libraries does.
const gdiplus_entries& gdiplus_library();

}  // namespace tessarel
