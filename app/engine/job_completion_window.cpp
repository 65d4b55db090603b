#include "engine/job_completion_window.h"

#include <string>
#include <utility>

#include "engine/engine_binding_error.h"

namespace tessarel {
namespace {

constexpr UINT job_done_message = WM_APP + 0x104;
constexpr wchar_t class_name[] = L"tessarel_job_completion";

HINSTANCE this_module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<const wchar_t*>(&this_module), &module);
  return module;
}

}  // namespace

job_completion_window::job_completion_window(job_done_callback on_done)
    : on_done_(std::move(on_done)) {
  static const ATOM registered = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &job_completion_window::window_proc;
    window_class.hInstance = this_module();
    window_class.lpszClassName = class_name;
    return RegisterClassW(&window_class);
  }();
  if (registered != 0) {
    window_ = CreateWindowExW(0, class_name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              this_module(), this);
  }
  if (window_ == nullptr) {
    throw engine_binding_error(L"无法创建作业完成消息窗口（错误 " +
                               std::to_wstring(GetLastError()) + L"）");
  }
}

job_completion_window::~job_completion_window() { DestroyWindow(window_); }

bool job_completion_window::post(wchar_t letter, int kind, int serial) const {
  return PostMessageW(window_, job_done_message,
                      MAKEWPARAM(letter, static_cast<WORD>(kind)), serial) != FALSE;
}

void job_completion_window::note_lost(int serial) const noexcept {
  int latest = lost_.load();
  while (latest < serial && !lost_.compare_exchange_weak(latest, serial)) {
  }
}

bool job_completion_window::take_lost(int serial) noexcept {
  int expected = serial;
  return serial != 0 && lost_.compare_exchange_strong(expected, 0);
}

LRESULT CALLBACK job_completion_window::window_proc(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == job_done_message) {
    auto* self = reinterpret_cast<job_completion_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->on_done_) {
      // The job machine's step must not take the message loop down with it.
      try {
        self->on_done_(static_cast<wchar_t>(LOWORD(wparam)), HIWORD(wparam),
                       static_cast<int>(lparam), 0);
      } catch (...) {
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tessarel
