#pragma once
// C library files of the application folder, closed by their owner.

#include <cstdio>
#include <memory>
#include <string>

namespace dravik {

struct stdio_file_closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using stdio_file = std::unique_ptr<std::FILE, stdio_file_closer>;

// fopen with an ANSI path; empty when the file does not open.
inline stdio_file open_stdio_file(const std::string& path, const char* mode) {
  return stdio_file(std::fopen(path.c_str(), mode));
}

// Closes the file and reports whether everything written reached it.
inline bool close_stdio_file(stdio_file file) {
  return std::fclose(file.release()) == 0;
}

}  // namespace dravik
