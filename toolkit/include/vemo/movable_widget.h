#pragma once

#include <windows.h>

#include <string>

#include "vemo/frame.h"
#include "vemo/window_drag.h"

namespace vemo {

// A frame the user drags with the left mouse button. Dragging moves the
// target, a top-level window (screen coordinates are used as they are): the
// widget itself unless another window is given. It does not capture the
// mouse: leaving the window ends the drag, and so does a mouse move with the
// left button up (its release went elsewhere).
class movable_widget_t : public frame {
 public:
  // The class values are those of frame (null ones take its defaults).
  movable_widget_t(std::wstring class_name, UINT class_style, HICON icon, HCURSOR cursor,
                   HBRUSH background, const wchar_t* menu_name, window* target = nullptr);

  // A derived window that overrides on_mouse_move calls this one to keep
  // dragging.
  void on_mouse_move(WPARAM keys, WORD x, WORD y) override;
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;
  void on_lbutton_up(WPARAM keys, WORD x, WORD y) override;
  void on_mouse_leave() override;

  bool dragging() const { return drag_.dragging(); }

 private:
  window* target_;
  window_drag drag_;
};

}  // namespace vemo
