#include "classlib/wnd.h"

#include "classlib/engine_module.h"
#include "classlib/text_936.h"

namespace {

// The property that links a window to its object. A property rather than the
// window's user data, which belongs to the window's class.
const wchar_t* const object_property = L"dravik.CWnd";

}  // namespace

CWnd::~CWnd() {
  if (!m_hWnd) return;
  // Detached first: the destroy messages must not reach an object that is
  // half torn down.
  const HWND window = m_hWnd;
  detach();
  ::DestroyWindow(window);
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  if (!window) return nullptr;
  return static_cast<CWnd*>(GetPropW(window, object_property));
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  // WM_NCDESTROY detaches the object.
  return ::DestroyWindow(m_hWnd);
}

void CWnd::SetWindowText(const std::string& text) {
  if (m_hWnd) SetWindowTextW(m_hWnd, wide_from_936(text).c_str());
}

bool CWnd::ReflectChildNotify(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  return OnChildNotify(message, wparam, lparam, result);
}

bool CWnd::CreateChild(DWORD ex_style, const wchar_t* class_name, const std::wstring& text,
                       DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (m_hWnd) return false;
  const HWND window =
      CreateWindowExW(ex_style, class_name, text.c_str(), style | WS_CHILD, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, parent,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), engine_module(), nullptr);
  if (!window) return false;
  if (attach(window)) return true;
  ::DestroyWindow(window);
  return false;
}

bool CWnd::attach(HWND window) {
  if (!SetPropW(window, object_property, this)) return false;
  m_hWnd = window;
  class_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::subclass_proc)));
  return true;
}

void CWnd::detach() {
  if (!m_hWnd) return;
  SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(class_proc_));
  RemovePropW(m_hWnd, object_property);
  m_hWnd = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return Default(message, wparam, lparam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

LRESULT CWnd::Default(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(class_proc_, m_hWnd, message, wparam, lparam);
}

LRESULT CALLBACK CWnd::subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CWnd* self = FromHandlePermanent(window);
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The object lets go of the window; the class then cleans up with its
    // last message.
    const WNDPROC class_proc = self->class_proc_;
    self->detach();
    return CallWindowProcW(class_proc, window, message, wparam, lparam);
  }
  try {
    return self->WindowProc(message, wparam, lparam);
  } catch (...) {
    // Nothing may leave a window procedure: the message gets the class's
    // processing instead.
    return CallWindowProcW(self->class_proc_, window, message, wparam, lparam);
  }
}
