#include "vemo/dialog.h"

#include "handler_exceptions.h"
#include "paint_scope.h"
#include "vemo/program_instance.h"
#include "window_registry.h"

namespace vemo {
namespace {

WORD low_word(LPARAM value) { return LOWORD(static_cast<DWORD_PTR>(value)); }
WORD high_word(LPARAM value) { return HIWORD(static_cast<DWORD_PTR>(value)); }
int signed_low_word(WPARAM value) { return static_cast<short>(LOWORD(value)); }
int signed_high_word(WPARAM value) { return static_cast<short>(HIWORD(value)); }

}  // namespace

dialog::dialog(int template_id) : window(std::wstring()), template_id_(template_id) {}

dialog::~dialog() {
  if (handle() && EndDialog(handle(), result_)) set_handle(nullptr);
}

INT_PTR CALLBACK dialog::dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  INT_PTR result = FALSE;
  try {
    // Entering the object can fail too (it allocates): inside the try, so
    // that nothing is thrown through the system's frames.
    if (message == WM_INITDIALOG && lparam) {
      if (auto* object = dynamic_cast<dialog*>(reinterpret_cast<window*>(lparam))) {
        object->set_handle(hwnd);
        enter_window(hwnd, object);
      }
    }
    if (auto* object = dynamic_cast<dialog*>(find_window(hwnd)))
      result = object->dispatch(hwnd, message, wparam, lparam);
  } catch (...) {
    // The modal run that returns next raises the exception again.
    keep_handler_exception();
    EndDialog(hwnd, -1);
    result = FALSE;
  }

  if (message == WM_NCDESTROY) {
    if (auto* object = dynamic_cast<dialog*>(find_window(hwnd)); object && object->handle() == hwnd)
      object->set_handle(nullptr);
    forget_window(hwnd);
  }
  return result;
}

INT_PTR dialog::dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return on_init_dialog(hwnd, wparam, lparam);
    case WM_PAINT: {
      paint_scope paint(hwnd);
      return on_paint(paint.dc(), paint.paint());
    }
    case WM_SIZE:
      return on_size(wparam, signed_low_word(static_cast<WPARAM>(lparam)),
                     signed_high_word(static_cast<WPARAM>(lparam)));
    case WM_CLOSE:
      return on_close();
    case WM_ERASEBKGND:
      return on_erase_bkgnd(reinterpret_cast<HDC>(wparam));
    case WM_COMMAND:
      return on_command(HIWORD(wparam), LOWORD(wparam), reinterpret_cast<HWND>(lparam));
    case WM_LBUTTONDOWN:
      return on_lbutton_down(wparam, low_word(lparam), high_word(lparam));
    case WM_LBUTTONUP:
      return on_lbutton_up(wparam, low_word(lparam), high_word(lparam));
    case WM_LBUTTONDBLCLK:
      return on_lbutton_dblclk(wparam, low_word(lparam), high_word(lparam));
    case WM_RBUTTONDOWN:
      return on_rbutton_down(wparam, low_word(lparam), high_word(lparam));
    case WM_RBUTTONUP:
      return on_rbutton_up(wparam, low_word(lparam), high_word(lparam));
    case WM_RBUTTONDBLCLK:
      return on_rbutton_dblclk(wparam, low_word(lparam), high_word(lparam));
    case WM_MOUSEMOVE:
      return on_mouse_move(wparam, low_word(lparam), high_word(lparam));
    case WM_MOUSEWHEEL:
      return on_mouse_wheel(signed_low_word(wparam), signed_high_word(wparam), low_word(lparam),
                            high_word(lparam));
    case WM_MOUSELEAVE:
      return on_mouse_leave();
    default:
      return FALSE;
  }
}

BOOL dialog::destroy() { return end(); }

BOOL dialog::end() {
  if (!handle()) return 0;
  const BOOL ended = EndDialog(handle(), result_);
  if (ended) set_handle(nullptr);
  return ended;
}

INT_PTR dialog::on_init_dialog(HWND, WPARAM, LPARAM) { return 0; }
INT_PTR dialog::on_size(WPARAM, int, int) { return 0; }
INT_PTR dialog::on_paint(HDC, PAINTSTRUCT&) { return 0; }
INT_PTR dialog::on_close() { return end(); }
INT_PTR dialog::on_command(int, int, HWND) { return 0; }
INT_PTR dialog::reserved(int, int, int) { return 0; }
INT_PTR dialog::on_erase_bkgnd(HDC) { return 0; }
INT_PTR dialog::close_all() {
  end();
  return 1;
}
INT_PTR dialog::on_lbutton_down(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_lbutton_up(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_lbutton_dblclk(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_rbutton_down(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_rbutton_up(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_rbutton_dblclk(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_mouse_move(WPARAM, WORD, WORD) { return 0; }
INT_PTR dialog::on_mouse_leave() { return 0; }
INT_PTR dialog::on_mouse_wheel(int, int, WORD, WORD) { return 0; }

modal_dlg::modal_dlg(int template_id) : dialog(template_id) {}

modal_dlg::~modal_dlg() {
  if (object_alive_) *object_alive_ = false;
}

HWND modal_dlg::create(const std::wstring&, DWORD, const RECT&, window* owner, HMENU) {
  run(owner);
  return nullptr;
}

INT_PTR modal_dlg::run(window* owner) {
  // A second dialog for the same object would take over its handle.
  if (owns_live_window()) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return -1;
  }
  // The flag lives on this stack: the object may be deleted before
  // DialogBoxParamW returns (its destructor ends the dialog).
  bool object_alive = true;
  object_alive_ = &object_alive;
  const INT_PTR result =
      DialogBoxParamW(program_instance, MAKEINTRESOURCEW(template_id()),
                      owner ? owner->handle() : nullptr, &dialog::dialog_proc,
                      reinterpret_cast<LPARAM>(static_cast<window*>(this)));
  if (object_alive) {
    object_alive_ = nullptr;
    set_result(result);
    // The dialog's window is gone once DialogBoxParamW returns, however it
    // ended.
    set_handle(nullptr);
  }
  rethrow_handler_exception();
  return result;
}

}  // namespace vemo
