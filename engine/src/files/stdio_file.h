#pragma once
// C library files of the application folder, closed by their owner.

#include <cstdio>
#include <string>

#include "tessarel/unique_handle.h"

namespace dravik {

using stdio_file = tessarel::unique_stdio_file;

// fopen with an ANSI path; empty when the file does not open.
inline stdio_file open_stdio_file(const std::string& path, const char* mode) {
  return stdio_file(std::fopen(path.c_str(), mode));
}

// Closes the file and reports whether everything written reached it.
inline bool close_stdio_file(stdio_file file) { return file.close(); }

}  // namespace dravik
