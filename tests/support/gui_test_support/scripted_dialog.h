#pragma once
// Skinned dialogs driven by a test (the program's tests use it too): the
// script runs from a timer of the dialog's own modal loop once the window is
// up, so real mouse input reaches it; a dialog still running afterwards is
// ended. A script of several steps runs one step per tick of that loop, so
// the keys one step presses reach the dialog through its own loop (which
// turns Enter and Esc into its commands) before the next step runs. Also an
// address opener that records instead of opening.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "vemo/address_opener.h"
#include "vemo/window.h"

namespace tessarel::testing {

template <class Dialog>
class scripted_dialog : public Dialog {
 public:
  using Dialog::Dialog;

  using step = std::function<void(Dialog&, HWND)>;

  INT_PTR run_with(step steps, vemo::window* owner = nullptr) {
    return run_steps({std::move(steps)}, owner);
  }
  // The steps in order, each on its own tick; those after the step that
  // ended the dialog do not run.
  INT_PTR run_steps(std::vector<step> steps, vemo::window* owner = nullptr) {
    steps_ = std::move(steps);
    next_ = 0;
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
    // The modal loop shows the dialog once its queue is idle; the timer can
    // come first (slow start-up, as under emulation): it fires again until
    // the window is shown, for at most about a second.
    if (!IsWindowVisible(hwnd) && running() != nullptr && ++running()->waits_ < 100) return;
    // No tick may come while a step runs a loop of its own (a message box).
    KillTimer(hwnd, id);
    scripted_dialog* const self = std::exchange(running(), nullptr);
    if (!self) return;
    if (self->next_ < self->steps_.size()) {
      const step& current = self->steps_[self->next_++];
      if (current) current(*self, hwnd);
    }
    if (self->handle() != hwnd) return;
    if (self->next_ < self->steps_.size()) {
      running() = self;
      SetTimer(hwnd, id, 10, &scripted_dialog::fire);
      return;
    }
    self->end();
  }

  std::vector<step> steps_;
  size_t next_ = 0;
  int waits_ = 0;
};

class recording_opener : public vemo::address_opener {
 public:
  recording_opener() : previous_(vemo::install_address_opener(this)) {}
  ~recording_opener() override { vemo::install_address_opener(previous_); }
  void open(const std::wstring& address) override { opened.push_back(address); }
  std::vector<std::wstring> opened;

 private:
  vemo::address_opener* previous_;
};

// A real click at a point of a window's client area.
inline void click_at(HWND hwnd, int x, int y) {
  const POINT at = tessarel::testing::client_to_screen(hwnd, x, y);
  tessarel::testing::move_cursor_to(at.x, at.y);
  tessarel::testing::press_left();
  tessarel::testing::release_left();
}

}  // namespace tessarel::testing
