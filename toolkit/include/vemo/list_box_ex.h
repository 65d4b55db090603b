#pragma once

#include <windows.h>

#include "vemo/control.h"
#include "vemo/frame.h"

namespace vemo {

// A frame that hosts a system list box filling its client area. A selection
// change in the list box sends the parent (any window, toolkit or not)
// WM_COMMAND with MAKEWPARAM(0, 1) and this frame's handle, synchronously;
// without a parent nobody is told. The owner creates the window as a child,
// sizes it, and fills the list box by sending list-box messages to
// list().handle(). User interface thread only.
class list_box_ex : public frame {
 public:
  list_box_ex();
  ~list_box_ex() override;

  // The hosted list box (control id 0); it has a window while this frame has
  // one.
  list_box& list() { return list_; }

  void on_create(HWND hwnd, CREATESTRUCTW* create) override;
  void on_size(WPARAM type, int width, int height) override;
  bool on_command(int code, int id, HWND control) override;

 protected:  // Override these.
  // The list box with control id `id` changed its selection.
  virtual void notify_parent(int id);
  // The list box with control id `id` lost the focus. Default: nothing.
  virtual void on_kill_focus(int id);

 private:
  list_box list_;
};

}  // namespace vemo
