#include "regscan/file_system_seam.h"

#include "file_system_in_use.h"

#include <utility>

namespace regscan {

namespace {

DWORD system_attributes(const wchar_t* path) { return GetFileAttributesW(path); }
BOOL system_disable(void** old_value) { return Wow64DisableWow64FsRedirection(old_value); }
BOOL system_revert(void* old_value) { return Wow64RevertWow64FsRedirection(old_value); }
UINT system_drive_type(const wchar_t* root) { return GetDriveTypeW(root); }

bool system_is_wow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring system_environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  // Unset, or longer than any folder a path check could use.
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(value, length);
}

file_system_seam& seam_in_use() {
  static file_system_seam seam = system_file_system();
  return seam;
}

}  // namespace

file_system_seam system_file_system() {
  return {&system_attributes, &system_disable,  &system_revert,
          &system_drive_type, &system_is_wow64, &system_environment};
}

file_system_seam install_file_system(const file_system_seam& seam) {
  return std::exchange(seam_in_use(), seam);
}

const file_system_seam& current_file_system() { return seam_in_use(); }

}  // namespace regscan
