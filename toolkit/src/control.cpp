#include "vemo/control.h"

#include <commctrl.h>

#include <utility>

namespace vemo {

control::control(std::wstring system_class_name) : window(std::move(system_class_name)) {}

namespace {

// Whether handle names a live window of this thread and of the class: a
// control's window may be gone with its parent, and its handle value may
// then belong to nothing, or to someone else's window.
bool still_own_window(HWND handle, const std::wstring& class_name) {
  if (!IsWindow(handle) || GetWindowThreadProcessId(handle, nullptr) != GetCurrentThreadId())
    return false;
  wchar_t name[256];
  const int length = GetClassNameW(handle, name, 256);
  return length > 0 && CompareStringOrdinal(name, length, class_name.c_str(),
                                            static_cast<int>(class_name.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

control::~control() {
  if (handle() && !still_own_window(handle(), class_name())) set_handle(nullptr);
}

list_box::list_box() : control(L"LISTBOX") {}

edit::edit() : control(L"EDIT") {}

progress_bar::progress_bar() : control(L"msctls_progress32") {}

void progress_bar::set_range(int maximum) {
  SendMessageW(handle(), PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
}

}  // namespace vemo
