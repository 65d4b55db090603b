#include "vemo/push_button.h"

#include "parent_notification.h"
#include "push_button_states.h"
#include "vemo/gdi_handles.h"

namespace vemo {

push_button::push_button(const std::wstring& image_normal, const std::wstring& image_pressed,
                         const std::wstring& image_hover, const std::wstring& image_disabled,
                         int control_id, int notification_code)
    : frame(L"frame_class_name", CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr, nullptr),
      control_id_(control_id),
      notification_code_(notification_code) {
  const std::wstring* files[] = {&image_normal, &image_pressed, &image_hover, &image_disabled};
  for (size_t i = 0; i < images_.size(); ++i) {
    auto image = std::make_unique<mem_bitmap>();
    if (image->load(*files[i])) images_[i] = std::move(image);
  }
}

// The images go with the object, whether or not a window exists.
push_button::~push_button() = default;

const mem_bitmap* push_button::image(int state) const {
  if (state < normal || state > disabled) return nullptr;
  return images_[static_cast<size_t>(state)].get();
}

void push_button::on_paint(HDC dc, PAINTSTRUCT&) {
  if (const mem_bitmap* picture = image(state_)) {
    BitBlt(dc, 0, 0, picture->width(), picture->height(), picture->dc(), 0, 0, SRCCOPY);
  } else if (state_ == hover) {
    // Without a hover image, an outline shows where the mouse is.
    RECT window_rect{};
    GetWindowRect(handle(), &window_rect);
    const selected_object hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, window_rect.right - window_rect.left,
              window_rect.bottom - window_rect.top);
  }

  const std::wstring title = get_text();
  if (title.empty()) return;
  RECT client{};
  GetClientRect(handle(), &client);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, title.c_str(), -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void push_button::on_mouse_move(WPARAM, WORD, WORD) {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle(), 0};
  TrackMouseEvent(&track);
  take_step(button_event::mouse_move);
}

void push_button::on_mouse_leave() { take_step(button_event::mouse_leave); }

void push_button::on_lbutton_down(WPARAM, WORD, WORD) { take_step(button_event::button_down); }

void push_button::on_lbutton_up(WPARAM, WORD, WORD) { take_step(button_event::button_up); }

void push_button::take_step(button_event event) {
  const button_step step =
      next_button_state(state_, event, image(pressed) != nullptr, image(hover) != nullptr);
  state_ = step.state;
  if (step.repaint) repaint();
  // Last: the parent may do anything with this button while it handles the
  // click.
  if (step.notify) notify_parent();
}

void push_button::repaint() {
  InvalidateRect(handle(), nullptr, TRUE);
  update();
}

void push_button::notify_parent() {
  // Only a toolkit parent is told; a foreign parent has no use for the code.
  if (!find_window(GetParent(handle()))) return;
  vemo::notify_parent(handle(), control_id_, notification_code_);
}

}  // namespace vemo
