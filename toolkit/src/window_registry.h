#pragma once
// The process-wide map from window handle to toolkit object. It owns no
// object. User interface thread only.

#include <windows.h>

namespace vemo {

class window;

// Enters object under handle; a handle value that comes back for a new
// window replaces the old entry.
void enter_window(HWND handle, window* object);
// Forgets the entry of a window that is being destroyed.
void forget_window(HWND handle);
// Forgets every entry of an object that is going away.
void forget_object(const window* object);

}  // namespace vemo
