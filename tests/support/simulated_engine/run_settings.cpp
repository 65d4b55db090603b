#include "simulated_engine/run_settings.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace dravik::sim {

namespace {

// The setting is a few short lines; anything longer is not one.
constexpr DWORD longest_setting = 4096;

std::optional<std::string> read_small_file(const std::wstring& path) {
  const tessarel::unique_kernel_handle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                        nullptr));
  if (!file) return std::nullopt;
  std::string text(longest_setting + 1, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
      read > longest_setting) {
    return std::nullopt;
  }
  text.resize(read);
  return text;
}

}  // namespace

run_settings read_run_settings(const std::wstring& folder) {
  run_settings settings;
  if (const std::optional<std::string> pace = read_small_file(folder + pace_file_name)) {
    settings.pace = parse_volume_pace(*pace);
  }
  settings.open_reports =
      GetFileAttributesW((folder + open_reports_file_name).c_str()) != INVALID_FILE_ATTRIBUTES;
  return settings;
}

}  // namespace dravik::sim
