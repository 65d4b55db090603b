#pragma once

#include <windows.h>

namespace dravik {

// true for a key press of Enter or Escape. The engine's dialogs swallow
// these in PreTranslateMessage so that neither key closes them: only the
// buttons do.
bool is_enter_or_escape_key(const MSG& msg);

}  // namespace dravik
