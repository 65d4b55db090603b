#pragma once
// The base of every toolkit window: an object that owns the window attached
// to it. Everything here runs on the user interface thread.

#include <windows.h>

#include <string>

namespace vemo {

class window {
 public:
  // Keeps the window-class name that create passes to CreateWindowExW.
  explicit window(std::wstring class_name);
  // Destroys a window that is still attached.
  virtual ~window();

  window(const window&) = delete;
  window& operator=(const window&) = delete;

  // DestroyWindow of the attached window; the handle becomes null when that
  // succeeds. Without a window: FALSE, and nothing happens.
  virtual BOOL destroy();
  // UpdateWindow of the attached window.
  virtual BOOL update();
  // CreateWindowExW of the object's class with this object as creation
  // parameter. Stores and returns the new handle, null on failure. A frame's
  // on_create runs inside this call, before the handle is stored. While the
  // object's window still exists it refuses: no window is made, the handle
  // stays, and the result is null with ERROR_ALREADY_EXISTS.
  virtual HWND create(const std::wstring& title, DWORD style, const RECT& rect, window* parent,
                      HMENU menu);

  // The window's text (WM_GETTEXT): at most 32766 characters, up to the first
  // NUL. count, when given, receives what WM_GETTEXT returned.
  std::wstring get_text(LRESULT* count = nullptr) const;
  void set_text(const std::wstring& text);

  HWND handle() const { return handle_; }
  // Whether the handle names a live window that records this object as its
  // own (the handle map of toolkit windows, or the window's property for a
  // control): a handle value alone may by now name another window.
  bool owns_live_window() const;
  const std::wstring& class_name() const { return class_name_; }

  // Creates the window of w through its create operation with an empty
  // rectangle, no parent and no menu; the caller places it afterwards.
  static void create_top_level(window& w, const std::wstring& title, DWORD style);

 protected:
  void set_handle(HWND handle) { handle_ = handle; }

 private:
  std::wstring class_name_;
  HWND handle_ = nullptr;
};

// A window object around a handle that belongs to someone else, so that a
// bare handle can be passed where a parent window is expected. It never
// destroys that window.
class hwnd_helper : public window {
 public:
  explicit hwnd_helper(HWND handle);
  ~hwnd_helper() override;
};

// Creates child's window as a child of parent with an empty title and an
// empty rectangle; its owner sizes it later. Returns the handle (null on
// failure).
HWND create_child_window(window& child, window& parent, DWORD style);

// The toolkit object of a live window, or null when the handle has none.
window* find_window(HWND handle);

}  // namespace vemo
