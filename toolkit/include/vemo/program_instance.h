#pragma once

#include <windows.h>

namespace vemo {

// The program's module instance. Every window class the toolkit registers,
// every window it creates and every dialog template it loads belongs to this
// module. Null until the program's start-up stores it; user interface thread
// only.
extern HINSTANCE program_instance;

}  // namespace vemo
