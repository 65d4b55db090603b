#pragma once
// The program's main window as a user meets it, driven from the test
// process: its buttons are pressed and its volume list is clicked by
// posting the mouse messages a click sends to those child windows; its
// progress bar and buttons are read back. Positions are the window's
// client coordinates. The driver's thread alone.

#include <windows.h>

#include <string>

namespace tessarel::e2e {

enum class main_button { analyse, defragment, advanced, close };

class main_window {
 public:
  main_window(HWND hwnd, DWORD pid) : hwnd_(hwnd), pid_(pid) {}

  HWND handle() const { return hwnd_; }
  DWORD process_id() const { return pid_; }

  // The visible push button of that place: Analyse and its Stop share one,
  // Defragment and its Stop the next; null when none is shown there.
  HWND button(main_button which) const;
  // A left click in the middle of the button shown at that place (Stop
  // while its job runs). False when no button is shown there.
  bool press(main_button which) const;

  // Clicks the start button of that place (Analyse or Defragment) and, in
  // the same breath, the Stop that its job shows there: both clicks are
  // queued before the program handles the first, so the stop reaches the
  // job however fast it is. False when either button is missing.
  bool press_start_then_stop(main_button which) const;

  // Clicks row (0 the Registry row, 1 the first volume) of the volume list:
  // it toggles the row's check box and makes it the current row.
  bool click_row(int row) const;

  // Both start buttons shown and the progress bar hidden: no job runs (the
  // job's end brings the buttons back and hides the bar).
  bool idle() const;
  // Waits until idle has held for 400 ms; false after timeout_ms.
  bool wait_idle(DWORD timeout_ms) const;

  // The progress bar: shown or not, its upper limit and its position.
  bool progress_shown() const;
  int progress_maximum() const;
  int progress_position() const;

 private:
  HWND progress_bar() const;

  HWND hwnd_;
  DWORD pid_;
};

// A left click at (x, y) of a window's client area: WM_LBUTTONDOWN and
// WM_LBUTTONUP posted to it, as the system sends them for a user's click.
void post_click(HWND hwnd, int x, int y);

}  // namespace tessarel::e2e
