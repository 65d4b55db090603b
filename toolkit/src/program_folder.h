#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vemo {

// Asks for a module path into ever larger buffers until it fits. query has
// GetModuleFileNameW's contract: it fills the buffer and returns the length,
// or the buffer size when the path was cut short. "" on failure.
std::wstring read_module_path(const std::function<DWORD(wchar_t*, DWORD)>& query);

// Full path of the running executable.
std::wstring executable_path();

// The text of a path before its last backslash; "" when it has none.
std::wstring folder_of(const std::wstring& path);

}  // namespace vemo
