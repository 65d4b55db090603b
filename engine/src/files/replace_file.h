#pragma once
// Replacing a file of the application folder whole, never half.

#include <string>
#include <string_view>

namespace dravik {

// Writes bytes under a temporary name beside path ("<path>.tmp") and then
// renames it over path, so the file is either the new one, complete, or the
// old one byte for byte. Binary, no line-end translation. False, with no
// temporary file left, when it cannot be written or renamed.
bool replace_file(const std::string& path, std::string_view bytes);

// The temporary name replace_file uses for path.
std::string replacement_temporary_name(const std::string& path);

}  // namespace dravik
