#pragma once

#include <windows.h>

namespace vemo {

// Moves a top-level window by the cursor's change while the left button is
// down: the drag of movable_widget_t and of the skinned dialogs. It does not
// capture the mouse; the window it tracks ends the drag on WM_MOUSELEAVE and
// on the button's release, and the first mouse move with the button up ends
// it too (the release may have gone to another window, such as a modal box
// that the press opened). User interface thread only.
class window_drag {
 public:
  // Starts a drag from where the cursor is, and asks for WM_MOUSELEAVE of
  // tracked (the window that received the button press).
  void start(HWND tracked);
  // While dragging, moves target (screen coordinates) by the cursor's change
  // since the last step, keeping its size. keys are the key flags of the
  // mouse move: without MK_LBUTTON the drag ends and nothing moves. True
  // when it moved; the caller then updates the window.
  bool follow(HWND target, WPARAM keys);
  void stop() { dragging_ = false; }

  bool dragging() const { return dragging_; }

 private:
  bool dragging_ = false;
  POINT last_cursor_{0, 0};
};

}  // namespace vemo
