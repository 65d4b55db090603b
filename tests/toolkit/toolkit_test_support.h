#pragma once
// Shared helpers of the toolkit tests: real windows under Xvfb.

#include <windows.h>

#include <string>

namespace toolkit_test {

// Window classes are registered once per name per process; each test takes
// names of its own so that tests stay independent in any order.
std::wstring unique_class_name(const wchar_t* stem);

// Dispatches every message that is already waiting for this thread.
void pump_messages();

// Moves the real cursor to a screen position through the input queue, so the
// system sends the mouse messages it would for a user, then dispatches them.
void move_cursor_to(int x, int y);

// The screen position of a point of a window's client area.
POINT client_to_screen(HWND hwnd, int x, int y);

// Dialog template of the test executable: an empty captioned popup.
constexpr int test_dialog_template = 900;

}  // namespace toolkit_test
