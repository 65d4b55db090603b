#pragma once
// Finding the windows of the program's process from outside, as a test
// driver in another process: top-level windows by class, children by class
// and place, the text of a window. Any thread of the driver.

#include <windows.h>

#include <string>
#include <vector>

namespace tessarel::e2e {

// The class of a window ("" when it is gone).
std::wstring class_of(HWND hwnd);

// The visible top-level windows of process pid whose class is class_name
// (every class when null), in the system's order.
std::vector<HWND> top_windows(DWORD pid, const wchar_t* class_name);

// The direct children of parent of that class, in the system's order.
std::vector<HWND> children_of_class(HWND parent, const wchar_t* class_name);

// The child of that class whose upper left corner lies at origin in
// parent's client coordinates; null when none does.
HWND child_at(HWND parent, const wchar_t* class_name, POINT origin);

// The window's text, asked of its thread (works across processes).
std::wstring text_of(HWND hwnd);

// The window's client size.
SIZE client_size(HWND hwnd);

}  // namespace tessarel::e2e
