#pragma once
// Windows of system classes. Their messages go to the system class's
// procedure, never through the toolkit, so a control has no handlers and is
// never found by find_window.

#include <windows.h>

#include <string>

#include "vemo/window.h"

namespace vemo {

class control : public window {
 public:
  explicit control(std::wstring system_class_name);
  // Destroys the window only while the handle still names a window of this
  // thread and of the control's class: the system destroys a control together
  // with its parent without telling the object, and may reuse the handle.
  ~control() override;
};

class list_box : public control {
 public:
  list_box();
};

class edit : public control {
 public:
  edit();
};

class progress_bar : public control {
 public:
  progress_bar();
  // Range 0 to maximum (a 16-bit value).
  void set_range(int maximum);
};

}  // namespace vemo
