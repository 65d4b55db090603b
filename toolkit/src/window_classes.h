#pragma once

#include <windows.h>

#include <string>

namespace vemo {

// Registers a class whose messages go to procedure, once per name per
// process: a name seen before (registered, or failed to register) is left
// alone and the call answers true. Otherwise the name is remembered first and
// RegisterClassW's success is the answer.
bool register_window_class(const std::wstring& name, UINT style, WNDPROC procedure, HICON icon,
                           HCURSOR cursor, HBRUSH background, const wchar_t* menu_name);

}  // namespace vemo
