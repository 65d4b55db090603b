#pragma once
// An open C file, closed when the holder goes.

#include <cstdio>
#include <memory>
#include <string>

namespace dravik {

struct c_file_closer {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

using c_file = std::unique_ptr<std::FILE, c_file_closer>;

// fopen of an ANSI path; null when it does not open.
inline c_file open_c_file(const std::string& path, const char* mode) {
  return c_file(std::fopen(path.c_str(), mode));
}

}  // namespace dravik
