#include "options/dialog_keys.h"

namespace dravik {

bool is_enter_or_escape_key(const MSG& msg) {
  return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

}  // namespace dravik
