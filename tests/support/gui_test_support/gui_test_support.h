#pragma once
// Helpers of the tests that drive real windows under Xvfb: unique class
// names, message pumping, real mouse input, files beside the test executable,
// generated bitmaps, pixels and screenshots.

#include <windows.h>

#include <functional>
#include <string>

namespace tessarel::testing {

// Window classes are registered once per name per process; each test takes
// names of its own so that tests stay independent in any order.
std::wstring unique_class_name(const wchar_t* stem);

// Dispatches every message that is already waiting for this thread.
void pump_messages();

// Moves the real cursor to a screen position through the input queue, so the
// system sends the mouse messages it would for a user, then dispatches them.
void move_cursor_to(int x, int y);

// Presses or releases the left mouse button where the cursor is, through
// the input queue, then dispatches what follows.
void press_left();
void release_left();

// Presses and releases a key (a virtual-key code) through the input queue,
// as a user's key press, and dispatches nothing: the loop that runs next
// handles it (a dialog's own loop turns Enter and Esc into its commands).
// The key goes to the foreground window.
void press_key(WORD virtual_key);

// Dispatches messages until done() holds or max_ms have passed (for what
// the system delivers on a timer of its own, such as WM_MOUSELEAVE).
// Returns done().
bool pump_until(const std::function<bool()>& done, int max_ms = 5000);

// The screen position of a point of a window's client area.
POINT client_to_screen(HWND hwnd, int x, int y);

// The folder of the test executable, the program folder of the settings
// file, without a trailing backslash.
std::wstring test_folder();

// A file in the test folder with the given bytes, deleted when it goes.
class scoped_file {
 public:
  scoped_file(const std::wstring& name, const std::string& bytes);
  ~scoped_file();
  scoped_file(const scoped_file&) = delete;
  scoped_file& operator=(const scoped_file&) = delete;

  const std::wstring& name() const { return name_; }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring name_, path_;
};

// The bytes of a 24-bit .bmp file whose pixel (x, y), y counted from the
// top, has the colour pixel(x, y).
std::string bmp_file(int width, int height, const std::function<COLORREF(int, int)>& pixel);

// The colour a window shows at a point of its client area, after it has
// painted what it had to.
COLORREF client_pixel(HWND hwnd, int x, int y);

// Saves what a window shows (its whole window rectangle, as on the screen) as
// a PNG file named name in the screenshot folder of the build, for a person
// to look at. Returns whether it was written.
bool save_screenshot(HWND hwnd, const std::wstring& name);

// The kernel handles this process holds, counted by probing every handle
// value below 65536 (Wine's GetProcessHandleCount always answers 0).
DWORD open_handle_count();

}  // namespace tessarel::testing
