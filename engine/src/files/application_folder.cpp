#include "files/application_folder.h"

#include <windows.h>

#include <optional>

#include "tessarel/ansi_path.h"

namespace dravik {

namespace {

// The path as GetModuleFileNameA gives it into a 260-byte buffer: a
// character the ANSI code page lacks comes back as "?".
std::string lossy_executable_path() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A path that does not fit comes back cut and, on older systems, without
  // its terminator: the extra byte keeps it terminated either way.
  return std::string(path, length < MAX_PATH ? length : MAX_PATH);
}

std::wstring wide_executable_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string running_executable_path() {
  // The program refuses to load the engine where no ANSI name reaches its
  // folder; another host gets the lossy path, as before.
  const std::wstring wide = wide_executable_path();
  if (!wide.empty()) {
    if (std::optional<std::string> ansi = tessarel::ansi_path(wide)) return *ansi;
  }
  return lossy_executable_path();
}

std::string folder_of_path(const std::string& path) {
  const size_t last = path.find_last_of('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace dravik
