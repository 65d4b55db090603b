#pragma once

#include <windows.h>

namespace tessarel {

// The toolkit's start-up, before any window exists: keeps instance as the
// module of every window class, window and dialog template of the toolkit,
// gives the toolkit the home page address, and initialises the common
// controls (results ignored) through the system folder's comctl32.dll, which
// throws system_library_error when it cannot be had. Once the module is
// kept, a later call does nothing. User interface thread.
void init_toolkit(HINSTANCE instance);

}  // namespace tessarel
