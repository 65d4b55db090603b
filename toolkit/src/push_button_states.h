#pragma once
// The push button's state machine, apart from its window.

namespace vemo {

enum class button_event { mouse_move, mouse_leave, button_down, button_up };

struct button_step {
  int state;
  bool repaint;
  bool notify;
};

// The step a button in state (0 normal, 1 pressed, 2 hover, 3 disabled) takes
// on a mouse event, given whether its pressed and hover images loaded. Any
// other state stays as it is.
button_step next_button_state(int state, button_event event, bool has_pressed_image,
                              bool has_hover_image);

}  // namespace vemo
