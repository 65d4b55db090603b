#pragma once
// What the toolkit's tests share beyond the window helpers of every GUI test.

#include <windows.h>

#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "vemo/frame.h"

namespace vemo::testing {

using namespace tessarel::testing;

// Dialog template of the test executable: an empty captioned popup.
constexpr int test_dialog_template = 900;

// A toolkit window that records the WM_COMMAND messages it is sent.
class recording_parent : public vemo::frame {
 public:
  struct command {
    int code, id;
    HWND control;
  };

  recording_parent()
      : frame(unique_class_name(L"recording_parent"), 0, nullptr, nullptr, nullptr, nullptr) {}
  bool on_command(int code, int id, HWND control) override {
    commands.push_back({code, id, control});
    return true;
  }

  std::vector<command> commands;
};

}  // namespace vemo::testing
