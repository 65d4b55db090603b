#pragma once
// The life of the program from its entry point to its exit.

#include <windows.h>

namespace tessarel {

// The program's name for its single-instance mutex.
inline constexpr wchar_t single_instance_mutex_name[] = L"Local\\TessarelSingleInstance";

// Checks, start-up, the main window, the message loop, the release of
// everything and then the exit action. Returns the quit message's code, or
// -1 when a check fails (not an administrator: with a message; another
// instance running: silently) or when an error reaches it (a missing
// settings key, a missing engine or entry point, an empty palette: shown in
// a message box without owner first). User interface thread, once.
int run_program(HINSTANCE instance, const wchar_t* command_line);

}  // namespace tessarel
