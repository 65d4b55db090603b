#pragma once
// Replacing a file of the application folder whole, never half.

#include <string>
#include <string_view>

namespace dravik {

// Writes bytes under a temporary name beside path ("<path>.tmp"), flushes it
// to the disk and then renames it over path, written through, so the file is
// either the new one, complete, or the old one byte for byte, also after a
// power cut. Binary, no line-end translation. False, with no temporary file
// left, when it cannot be written, flushed or renamed. The system calls go
// through the file seam (files/file_seam.h).
bool replace_file(const std::string& path, std::string_view bytes);

// The temporary name replace_file uses for path.
std::string replacement_temporary_name(const std::string& path);

}  // namespace dravik
