#include "vemo/movable_widget.h"

#include <utility>

namespace vemo {

movable_widget_t::movable_widget_t(std::wstring class_name, UINT class_style, HICON icon,
                                   HCURSOR cursor, HBRUSH background, const wchar_t* menu_name,
                                   window* target)
    : frame(std::move(class_name), class_style, icon, cursor, background, menu_name),
      target_(target ? target : this) {}

void movable_widget_t::on_lbutton_down(WPARAM, WORD, WORD) { drag_.start(handle()); }

void movable_widget_t::on_mouse_move(WPARAM keys, WORD, WORD) {
  if (drag_.follow(target_->handle(), keys)) target_->update();
}

void movable_widget_t::on_lbutton_up(WPARAM, WORD, WORD) { drag_.stop(); }

void movable_widget_t::on_mouse_leave() { drag_.stop(); }

}  // namespace vemo
