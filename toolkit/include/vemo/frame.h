#pragma once
// A window of a class that the toolkit registers: every message reaches the
// object as a call of one virtual operation.

#include <windows.h>

#include <string>

#include "vemo/window.h"

namespace vemo {

// Handlers without a result end the message: the window procedure returns 0
// and never calls DefWindowProcW. Handlers that return bool pass the message
// on to DefWindowProcW when they return false. Mouse positions arrive as the
// unsigned 16-bit words of lParam (a captured mouse left of the client area
// gives 65535, not -1); sizes and the wheel delta are signed.
class frame : public window {
 public:
  // Registers the class on the first frame of that name in this process,
  // with this frame's style, icon, cursor, brush and menu; later frames of the
  // same name reuse it. Null icon, cursor and brush take the defaults (the
  // application icon, the arrow, COLOR_WINDOW + 1). Throws std::runtime_error
  // "frame::frame Error!" when RegisterClassW fails; the name is not tried
  // again in this process, so later frames of it construct without error and
  // their windows fail to create.
  frame(std::wstring class_name, UINT class_style, HICON icon, HCURSOR cursor, HBRUSH background,
        const wchar_t* menu_name);
  // Destroys a window that is still attached. Derived overrides are no longer
  // reached then: its WM_DESTROY runs frame::on_destroy.
  ~frame() override;

  // The window procedure of every class the toolkit registers.
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  // WM_CREATE, inside CreateWindowExW: the object's handle is still null, the
  // new window is hwnd.
  virtual void on_create(HWND hwnd, CREATESTRUCTW* create);
  virtual void on_size(WPARAM type, int width, int height);
  // Between BeginPaint and EndPaint.
  virtual void on_paint(HDC dc, PAINTSTRUCT& paint);
  // Default: destroy.
  virtual void on_close();
  // Default: forgets the handle.
  virtual void on_destroy();
  virtual bool on_command(int code, int id, HWND control);
  virtual bool on_notify(WPARAM wparam, LPARAM lparam);
  // Every message without a handler of its own.
  virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void on_lbutton_down(WPARAM keys, WORD x, WORD y);
  virtual void on_lbutton_up(WPARAM keys, WORD x, WORD y);
  virtual void on_lbutton_dblclk(WPARAM keys, WORD x, WORD y);
  virtual void on_rbutton_down(WPARAM keys, WORD x, WORD y);
  virtual void on_rbutton_up(WPARAM keys, WORD x, WORD y);
  virtual void on_rbutton_dblclk(WPARAM keys, WORD x, WORD y);
  virtual void on_mouse_move(WPARAM keys, WORD x, WORD y);
  virtual void on_mouse_leave();
  // delta is negative (-120 a notch) with the wheel turned towards the user;
  // x and y are screen coordinates.
  virtual void on_mouse_wheel(int keys, int delta, WORD x, WORD y);
  virtual bool on_key_down(WPARAM wparam, LPARAM lparam);
  virtual bool on_key_up(WPARAM wparam, LPARAM lparam);
  virtual bool on_sys_key_up(WPARAM wparam, LPARAM lparam);
  virtual bool on_vscroll(int position, int request, HWND scroll_bar);
  virtual bool on_hscroll(int position, int request, HWND scroll_bar);
  virtual void on_timer(UINT_PTR id, LPARAM lparam);

 private:
  LRESULT dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
};

// Unregisters every class that frames registered in this process and forgets
// them. Called once at shut-down, after the last window is gone.
void unregister_window_classes();

}  // namespace vemo
