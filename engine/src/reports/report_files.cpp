#include "reports/report_files.h"

#include <windows.h>

#include "files/replace_file.h"
#include "tessarel/unique_handle.h"

#include <climits>
#include <cstring>

namespace dravik {
namespace {

using file_handle = tessarel::unique_kernel_handle;

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

std::string report_page_temporary_name(const std::string& path) {
  return replacement_temporary_name(path);
}

bool write_report_page(const std::string& path, std::string_view text) {
  return replace_file(path, text);
}

}  // namespace dravik
