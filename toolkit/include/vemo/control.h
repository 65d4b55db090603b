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
  // Destroys the window only while it still records this object as its own
  // (owns_live_window): the system destroys a control together with its
  // parent without telling the object, and may reuse the handle value for
  // another window, even another control of the same class.
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
