#include "vemo/control.h"

#include <commctrl.h>

#include <utility>

namespace vemo {

control::control(std::wstring system_class_name) : window(std::move(system_class_name)) {}

// A control's window may already be gone with its parent, and its handle
// value may then belong to nothing: only a live window is destroyed.
control::~control() {
  if (handle() && !IsWindow(handle())) set_handle(nullptr);
}

list_box::list_box() : control(L"LISTBOX") {}

edit::edit() : control(L"EDIT") {}

progress_bar::progress_bar() : control(L"msctls_progress32") {}

void progress_bar::set_range(int maximum) {
  SendMessageW(handle(), PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
}

}  // namespace vemo
