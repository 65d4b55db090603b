#include "program_folder.h"

#include <vector>

namespace vemo {
namespace {

// Enough for nearly every path; longer ones grow the buffer.
constexpr DWORD first_buffer_size = 1023;
// Windows paths end at 32767 characters.
constexpr DWORD largest_buffer_size = 65536;

}  // namespace

std::wstring read_module_path(const std::function<DWORD(wchar_t*, DWORD)>& query) {
  for (DWORD size = first_buffer_size; size <= largest_buffer_size; size *= 2) {
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD length = query(buffer.data(), size);
    if (length == 0) return {};
    // A path that fills the whole buffer may have been cut short.
    if (length < size) return std::wstring(buffer.data(), length);
  }
  return {};
}

std::wstring executable_path() {
  return read_module_path(
      [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

std::wstring folder_of(const std::wstring& path) {
  const auto slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace vemo
