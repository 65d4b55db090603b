#include "files/application_folder.h"

#include <windows.h>

namespace dravik {

std::string running_executable_path() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A path that does not fit comes back cut and, on older systems, without
  // its terminator: the extra byte keeps it terminated either way.
  return std::string(path, length < MAX_PATH ? length : MAX_PATH);
}

std::string folder_of_path(const std::string& path) {
  const size_t last = path.find_last_of('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace dravik
