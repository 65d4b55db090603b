#pragma once

#include <windows.h>

// The module that holds the engine's code and resources: dravik.dll in the
// product, the test executable when the engine is linked in statically.
// Dialog templates are looked up here.
HMODULE engine_module();
