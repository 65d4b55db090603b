#include "push_button_states.h"

namespace vemo {
namespace {

constexpr int normal = 0, pressed = 1, hover = 2;

}  // namespace

button_step next_button_state(int state, button_event event, bool has_pressed_image,
                              bool has_hover_image) {
  const button_step stay{state, false, false};
  // Disabled, or a state the owner set out of range: no mouse action counts.
  if (state < normal || state > hover) return stay;

  switch (event) {
    case button_event::mouse_move:
      return state == normal ? button_step{hover, true, false} : stay;
    case button_event::mouse_leave:
      return state == normal ? stay : button_step{normal, true, false};
    case button_event::button_down:
      // Without a pressed image a press shows nothing.
      if (state == pressed || !has_pressed_image) return stay;
      return {pressed, true, false};
    case button_event::button_up:
      // The button does not capture the mouse: a release over it counts even
      // when the press began elsewhere.
      if (state == pressed && has_hover_image) return {hover, true, true};
      return {normal, true, true};
  }
  return stay;
}

}  // namespace vemo
