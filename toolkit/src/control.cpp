#include "vemo/control.h"

#include <commctrl.h>

#include <utility>

namespace vemo {

control::control(std::wstring system_class_name) : window(std::move(system_class_name)) {}

// The system destroys a control together with its parent without telling
// the object, and may give the handle value to another window later: only a
// window that still records this object as its own is destroyed.
control::~control() {
  if (handle() && !owns_live_window()) set_handle(nullptr);
}

list_box::list_box() : control(L"LISTBOX") {}

edit::edit() : control(L"EDIT") {}

progress_bar::progress_bar() : control(L"msctls_progress32") {}

void progress_bar::set_range(int maximum) {
  SendMessageW(handle(), PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
}

}  // namespace vemo
