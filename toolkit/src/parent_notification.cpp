#include "parent_notification.h"

namespace vemo {

bool notify_parent(HWND child, int id, int code) {
  const HWND parent = GetParent(child);
  if (!parent) return false;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(child));
  return true;
}

}  // namespace vemo
