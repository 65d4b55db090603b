#include "vemo/frame.h"

#include <stdexcept>
#include <utility>

#include "handler_exceptions.h"
#include "paint_scope.h"
#include "window_classes.h"
#include "window_registry.h"

namespace vemo {
namespace {

// Mouse positions are the unsigned words of lParam; sizes are signed.
WORD low_word(LPARAM value) { return LOWORD(static_cast<DWORD_PTR>(value)); }
WORD high_word(LPARAM value) { return HIWORD(static_cast<DWORD_PTR>(value)); }
int signed_low_word(WPARAM value) { return static_cast<short>(LOWORD(value)); }
int signed_high_word(WPARAM value) { return static_cast<short>(HIWORD(value)); }

}  // namespace

frame::frame(std::wstring class_name, UINT class_style, HICON icon, HCURSOR cursor,
             HBRUSH background, const wchar_t* menu_name)
    : window(std::move(class_name)) {
  if (!register_window_class(this->class_name(), class_style, &frame::window_proc, icon, cursor,
                             background, menu_name))
    throw std::runtime_error("frame::frame Error!");
}

// Destroying the window here, and not in the window part, lets WM_DESTROY
// still reach frame::on_destroy while the object is being torn down.
frame::~frame() {
  if (handle() && DestroyWindow(handle())) set_handle(nullptr);
}

LRESULT CALLBACK frame::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // These arrive before WM_CREATE, while no object is known for the window.
  if (message == WM_GETMINMAXINFO || message == WM_NCCREATE || message == WM_NCCALCSIZE)
    return DefWindowProcW(hwnd, message, wparam, lparam);

  LRESULT result = 0;
  try {
    // Entering the object can fail too (it allocates): inside the try, so
    // that nothing is thrown through the system's frames.
    if (message == WM_CREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      if (create && create->lpCreateParams)
        enter_window(hwnd, static_cast<window*>(create->lpCreateParams));
    }
    if (auto* object = dynamic_cast<frame*>(find_window(hwnd))) {
      result = object->dispatch(hwnd, message, wparam, lparam);
    } else {
      result = DefWindowProcW(hwnd, message, wparam, lparam);
    }
  } catch (...) {
    keep_handler_exception();
    // A creation that failed leaves a half-built window: cancel it.
    result = message == WM_CREATE ? -1 : 0;
  }

  if (message == WM_NCDESTROY) {
    // Looked up again: a handler may have deleted its object meanwhile.
    if (auto* object = dynamic_cast<frame*>(find_window(hwnd)); object && object->handle() == hwnd)
      object->set_handle(nullptr);
    forget_window(hwnd);
  }
  return result;
}

LRESULT frame::dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  bool handled = false;
  switch (message) {
    case WM_CREATE:
      on_create(hwnd, reinterpret_cast<CREATESTRUCTW*>(lparam));
      return 0;
    case WM_PAINT: {
      paint_scope paint(hwnd);
      on_paint(paint.dc(), paint.paint());
      return 0;
    }
    case WM_SIZE:
      on_size(wparam, signed_low_word(static_cast<WPARAM>(lparam)),
              signed_high_word(static_cast<WPARAM>(lparam)));
      return 0;
    case WM_CLOSE:
      on_close();
      return 0;
    case WM_DESTROY:
      on_destroy();
      return 0;
    case WM_LBUTTONDOWN:
      on_lbutton_down(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_LBUTTONUP:
      on_lbutton_up(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_LBUTTONDBLCLK:
      on_lbutton_dblclk(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_RBUTTONDOWN:
      on_rbutton_down(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_RBUTTONUP:
      on_rbutton_up(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_RBUTTONDBLCLK:
      on_rbutton_dblclk(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(wparam, low_word(lparam), high_word(lparam));
      return 0;
    case WM_MOUSELEAVE:
      on_mouse_leave();
      return 0;
    case WM_MOUSEWHEEL:
      on_mouse_wheel(signed_low_word(wparam), signed_high_word(wparam), low_word(lparam),
                     high_word(lparam));
      return 0;
    case WM_TIMER:
      on_timer(wparam, lparam);
      return 0;
    case WM_COMMAND:
      handled = on_command(HIWORD(wparam), LOWORD(wparam), reinterpret_cast<HWND>(lparam));
      break;
    case WM_NOTIFY:
      handled = on_notify(wparam, lparam);
      break;
    case WM_KEYDOWN:
      handled = on_key_down(wparam, lparam);
      break;
    case WM_KEYUP:
      handled = on_key_up(wparam, lparam);
      break;
    case WM_SYSKEYUP:
      handled = on_sys_key_up(wparam, lparam);
      break;
    case WM_VSCROLL:
      handled = on_vscroll(HIWORD(wparam), LOWORD(wparam), reinterpret_cast<HWND>(lparam));
      break;
    case WM_HSCROLL:
      handled = on_hscroll(HIWORD(wparam), LOWORD(wparam), reinterpret_cast<HWND>(lparam));
      break;
    default:
      handled = on_message(message, wparam, lparam);
      break;
  }
  return handled ? 0 : DefWindowProcW(hwnd, message, wparam, lparam);
}

void frame::on_create(HWND, CREATESTRUCTW*) {}
void frame::on_size(WPARAM, int, int) {}
void frame::on_paint(HDC, PAINTSTRUCT&) {}
void frame::on_close() { destroy(); }
void frame::on_destroy() { set_handle(nullptr); }
bool frame::on_command(int, int, HWND) { return false; }
bool frame::on_notify(WPARAM, LPARAM) { return false; }
bool frame::on_message(UINT, WPARAM, LPARAM) { return false; }
void frame::on_lbutton_down(WPARAM, WORD, WORD) {}
void frame::on_lbutton_up(WPARAM, WORD, WORD) {}
void frame::on_lbutton_dblclk(WPARAM, WORD, WORD) {}
void frame::on_rbutton_down(WPARAM, WORD, WORD) {}
void frame::on_rbutton_up(WPARAM, WORD, WORD) {}
void frame::on_rbutton_dblclk(WPARAM, WORD, WORD) {}
void frame::on_mouse_move(WPARAM, WORD, WORD) {}
void frame::on_mouse_leave() {}
void frame::on_mouse_wheel(int, int, WORD, WORD) {}
bool frame::on_key_down(WPARAM, LPARAM) { return false; }
bool frame::on_key_up(WPARAM, LPARAM) { return false; }
bool frame::on_sys_key_up(WPARAM, LPARAM) { return false; }
bool frame::on_vscroll(int, int, HWND) { return false; }
bool frame::on_hscroll(int, int, HWND) { return false; }
void frame::on_timer(UINT_PTR, LPARAM) {}

}  // namespace vemo
