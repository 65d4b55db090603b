#pragma once
// Skinned dialogs driven by a test: the script runs from a timer of the
// dialog's own modal loop, once the window is up, so that real mouse input
// reaches it. A script that leaves the dialog running ends it.

#include <windows.h>

#include <functional>
#include <utility>

#include "vemo/window.h"

namespace tessarel::testing {

template <class Dialog>
class scripted_dialog : public Dialog {
 public:
  using script = std::function<void(scripted_dialog&, HWND)>;

  template <class... Args>
  explicit scripted_dialog(Args&&... args) : Dialog(std::forward<Args>(args)...) {}

  // Runs the dialog (owned by owner) with script; returns the run's result.
  INT_PTR run_with(script steps, vemo::window* owner = nullptr) {
    steps_ = std::move(steps);
    return this->run(owner);
  }

  INT_PTR on_init_dialog(HWND hwnd, WPARAM wparam, LPARAM lparam) override {
    const INT_PTR result = Dialog::on_init_dialog(hwnd, wparam, lparam);
    running() = this;
    SetTimer(hwnd, 1, 10, &scripted_dialog::fire);
    return result;
  }

 private:
  static scripted_dialog*& running() {
    static scripted_dialog* dialog = nullptr;
    return dialog;
  }

  static void CALLBACK fire(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    scripted_dialog* const self = running();
    running() = nullptr;
    if (!self) return;
    if (self->steps_) self->steps_(*self, hwnd);
    if (self->handle() == hwnd) self->end();
  }

  script steps_;
};

}  // namespace tessarel::testing
