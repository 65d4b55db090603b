#include "reports/report_files.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

#include <climits>
#include <cstring>

namespace dravik {
namespace {

using file_handle = tessarel::unique_kernel_handle;

bool write_all(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    const DWORD chunk = text.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
    text.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> read_report_template(const std::string& path) {
  file_handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_open()) return std::nullopt;

  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > INT_MAX) {
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  while (filled < text.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), &text[filled], static_cast<DWORD>(text.size() - filled), &read,
                  nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;  // the file shrank while we read it
    filled += read;
  }
  text.resize(filled);
  // A template is text: whatever follows a zero byte is not part of it.
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string report_page_temporary_name(const std::string& path) { return path + ".tmp"; }

bool write_report_page(const std::string& path, std::string_view text) {
  const std::string temporary = report_page_temporary_name(path);
  {
    file_handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.is_open()) return false;
    const bool written = write_all(file.get(), text);
    if (!file.close() || !written) {
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace dravik
