#pragma once

#include <string>

namespace vemo {

// The part of a path after its last backslash: the whole path when it has
// none, an empty string when it ends with one.
std::wstring path_file_name(const std::wstring& path);

}  // namespace vemo
