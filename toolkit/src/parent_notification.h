#pragma once

#include <windows.h>

namespace vemo {

// Sends child's parent WM_COMMAND with MAKEWPARAM(id, code) and child's
// handle, and waits for it to be handled. A child without a parent tells
// nobody: false.
bool notify_parent(HWND child, int id, int code);

}  // namespace vemo
