#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "vemo/frame.h"
#include "vemo/mem_bitmap.h"

namespace vemo {

enum class button_event;

// A skinned button drawn from up to four bitmap files, one per state. A
// left-button release over it sends its parent (when the parent is a toolkit
// window) WM_COMMAND with MAKEWPARAM(control id, notification code) and the
// button's handle. It does not capture the mouse. The owner creates its
// window as a child, places and sizes it, and may set the state itself (3 to
// disable it, then invalidate and update).
class push_button : public frame {
 public:
  enum : int { normal = 0, pressed = 1, hover = 2, disabled = 3 };

  // Loads the image of each state; a file that does not load leaves its
  // state without an image.
  push_button(const std::wstring& image_normal, const std::wstring& image_pressed,
              const std::wstring& image_hover, const std::wstring& image_disabled,
              int control_id, int notification_code);
  ~push_button() override;

  int state() const { return state_; }
  void set_state(int state) { state_ = state; }
  // The loaded image of a state; null when there is none.
  const mem_bitmap* image(int state) const;
  int control_id() const { return control_id_; }
  int notification_code() const { return notification_code_; }

  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;
  void on_lbutton_up(WPARAM keys, WORD x, WORD y) override;
  void on_mouse_move(WPARAM keys, WORD x, WORD y) override;
  void on_mouse_leave() override;

 private:
  void take_step(button_event event);
  void repaint();
  void notify_parent();

  int state_ = normal;
  std::array<std::unique_ptr<mem_bitmap>, 4> images_;
  int control_id_;
  int notification_code_;
};

}  // namespace vemo
