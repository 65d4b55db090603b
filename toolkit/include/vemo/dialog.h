#pragma once
// Dialogs from templates of the program's module: every message a dialog
// cares about reaches the object as a call of one virtual operation, whose
// result the dialog procedure returns to the system.

#include <windows.h>

#include "vemo/window.h"

namespace vemo {

class dialog : public window {
 public:
  explicit dialog(int template_id);
  // Ends a dialog that is still attached, then destroys what is left of it.
  ~dialog() override;

  // The dialog procedure of every toolkit dialog. Messages without a
  // handler, and messages for a window without a dialog object, answer FALSE
  // so that the system's dialog handling applies.
  static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  // Forwards to end.
  BOOL destroy() override;
  // EndDialog with the stored result; the handle becomes null when that
  // succeeds. Without a window: 0. Every way a running dialog ends goes
  // through here (destroy, on_close, close_all): a derived dialog that must
  // act when it ends overrides this one.
  virtual BOOL end();

  // The handle is set before this runs.
  virtual INT_PTR on_init_dialog(HWND hwnd, WPARAM wparam, LPARAM lparam);
  virtual INT_PTR on_size(WPARAM type, int width, int height);
  // Between BeginPaint and EndPaint.
  virtual INT_PTR on_paint(HDC dc, PAINTSTRUCT& paint);
  // Default: ends the dialog.
  virtual INT_PTR on_close();
  virtual INT_PTR on_command(int code, int id, HWND control);
  // Reached by no message; kept for derived dialogs.
  virtual INT_PTR reserved(int a, int b, int c);
  virtual INT_PTR on_erase_bkgnd(HDC dc);
  // Default: ends the dialog and answers 1.
  virtual INT_PTR close_all();
  virtual INT_PTR on_lbutton_down(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_lbutton_up(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_lbutton_dblclk(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_rbutton_down(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_rbutton_up(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_rbutton_dblclk(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_mouse_move(WPARAM keys, WORD x, WORD y);
  virtual INT_PTR on_mouse_leave();
  virtual INT_PTR on_mouse_wheel(int keys, int delta, WORD x, WORD y);

  int template_id() const { return template_id_; }
  // The value handed to EndDialog and returned by a modal run.
  INT_PTR result() const { return result_; }
  void set_result(INT_PTR result) { result_ = result; }

 private:
  INT_PTR dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  int template_id_;
  INT_PTR result_ = 0;
};

// A dialog that runs modally. Its create operation runs it: only the parent
// argument counts (as the owner), and it returns null, since the dialog's
// window is gone when the run returns.
class modal_dlg : public dialog {
 public:
  explicit modal_dlg(int template_id);
  // May be called while the dialog runs (from a handler of another window,
  // say): the dialog ends, and the run returns without touching the object.
  ~modal_dlg() override;

  HWND create(const std::wstring& title, DWORD style, const RECT& rect, window* owner,
              HMENU menu) override;
  // Runs the dialog owned by owner (none: no owner) until it ends; stores
  // and returns the result. -1 when the template cannot be loaded, and -1
  // with ERROR_ALREADY_EXISTS, running nothing, while this object's dialog
  // is already up. When the object is deleted during the run, the result
  // is only returned.
  INT_PTR run(window* owner);

 private:
  // Set by the run in progress; the destructor clears it.
  bool* object_alive_ = nullptr;
};

}  // namespace vemo
