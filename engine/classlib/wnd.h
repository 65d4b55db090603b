#pragma once
// A child window owned by an object: the object creates the window, sees its
// messages first (WindowProc) and destroys it. The base of the control
// wrappers.
//
// User interface thread only, like the windows themselves.

#include <windows.h>

#include <string>

class CWnd {
 public:
  CWnd() = default;
  // Destroys a window still attached.
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to window by a CWnd, or null for any other window.
  static CWnd* FromHandlePermanent(HWND window);

  // Destroys the attached window; false without one.
  BOOL DestroyWindow();

  // text: code page 936 bytes, as the engine's literals are.
  void SetWindowText(const std::string& text);

  // A notification the parent received from this window (WM_NOTIFY,
  // WM_COMMAND), handed back to it. Returns true when handled; *result is
  // then the parent's answer.
  bool ReflectChildNotify(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

 protected:
  // Creates a child window of the registered class and attaches it. false
  // when the window cannot be created.
  bool CreateChild(DWORD ex_style, const wchar_t* class_name, const std::wstring& text, DWORD style,
                   const RECT& rect, HWND parent, UINT id);

  // Every message of the attached window. The base gives it the default
  // processing (Default).
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // Notifications reflected from the parent; the base handles none.
  virtual bool OnChildNotify(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // The processing the window's class gives a message.
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  bool attach(HWND window);
  void detach();

  WNDPROC class_proc_ = nullptr;
};
