#include "toolkit_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "vemo/program_instance.h"

namespace toolkit_test {
namespace {

// What the program's start-up does before any window exists.
class toolkit_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    vemo::program_instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new toolkit_environment);

}  // namespace

std::wstring unique_class_name(const wchar_t* stem) {
  static int counter = 0;
  return std::wstring(stem) + L"_" + std::to_wstring(++counter);
}

void pump_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void move_cursor_to(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute input is in 1/65536 of the screen; round up so that scaling
  // back lands on the pixel itself.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = (x * 65536 + width - 1) / width;
  input.mi.dy = (y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  pump_messages();
}

POINT client_to_screen(HWND hwnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  return point;
}

}  // namespace toolkit_test
