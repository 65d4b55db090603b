#pragma once

#include <windows.h>

namespace regscan {

// Turns the system's critical-error boxes off for the calling thread while
// it lives, and puts the thread's previous mode back: a look at an empty
// card reader or floppy drive then fails at once instead of raising a "no
// disk" box that stalls the run until someone answers it.
class critical_errors_off {
 public:
  critical_errors_off() {
    restore_ =
        SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &old_mode_) != 0;
  }
  ~critical_errors_off() {
    if (restore_) SetThreadErrorMode(old_mode_, nullptr);
  }
  critical_errors_off(const critical_errors_off&) = delete;
  critical_errors_off& operator=(const critical_errors_off&) = delete;

 private:
  DWORD old_mode_ = 0;
  bool restore_ = false;
};

}  // namespace regscan
