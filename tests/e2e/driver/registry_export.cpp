#include "driver/registry_export.h"

#include <windows.h>

#include "driver/e2e_files.h"
#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

namespace {

constexpr DWORD export_timeout_ms = 120000;

bool run_export(const std::wstring& file) {
  std::wstring command = L"regedit.exe /E \"" + file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return false;
  const unique_kernel_handle thread(started.hThread);
  const unique_kernel_handle process(started.hProcess);
  return WaitForSingleObject(process.get(), export_timeout_ms) == WAIT_OBJECT_0;
}

}  // namespace

std::set<std::wstring> exported_registry(const std::wstring& file) {
  std::set<std::wstring> lines;
  DeleteFileW(file.c_str());
  if (!run_export(file)) return lines;
  const std::string bytes = read_file(file).value_or("");
  if (bytes.size() < 2) return lines;
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);

  std::wstring key, line;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) end = text.size();
    std::wstring part = text.substr(at, end - at);
    at = end + 1;
    if (!part.empty() && part.back() == L'\r') part.pop_back();
    // Binary data goes on over lines ending in a backslash; quoted text
    // always ends in a quote.
    if (!line.empty()) {
      const size_t first = part.find_first_not_of(L' ');
      line += first == std::wstring::npos ? L"" : part.substr(first);
    } else {
      line = part;
    }
    if (!line.empty() && line.back() == L'\\' && line.front() != L'[') {
      line.pop_back();
      continue;
    }
    part.swap(line);
    line.clear();
    if (part.empty()) continue;
    if (part.front() == L'[') {
      key = part;
      lines.insert(key + L"|");
    } else if (!key.empty()) {
      lines.insert(key + L"|" + part);
    }
  }
  return lines;
}

}  // namespace tessarel::e2e
