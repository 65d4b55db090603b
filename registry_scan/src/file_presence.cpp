#include <cwctype>

#include "file_system_in_use.h"
#include "regscan/path_checks.h"

namespace regscan {

namespace {

struct look {
  path_presence presence;
  DWORD attributes;
};

// One look in the current file-system view. Only attributes are read: opening
// the file would fail for one another program holds for writing, and could
// reach a device or a pipe. Only the two "not found" errors say the path is
// absent; anything else (access denied, a sharing violation, an invalid
// name, a device not ready) says nothing.
look look_in_view(const file_system_seam& fs, const std::wstring& path) {
  const DWORD attributes = fs.get_attributes(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return {path_presence::present, attributes};
  const DWORD error = GetLastError();
  const bool absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return {absent ? path_presence::absent : path_presence::unknown, 0};
}

// Only a present fixed drive can say a path is missing: a removable drive
// without its medium, a network or SUBST letter (which an elevated process
// may not see), a locked volume or a letter with no drive is not looked at.
bool on_fixed_drive(const file_system_seam& fs, const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/')) return false;
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  return fs.drive_type(root) == DRIVE_FIXED;
}

bool can_judge(const file_system_seam& fs, const std::wstring& path) {
  return !path.empty() && path.size() < MAX_PATH && path.find(L'%') == std::wstring::npos &&
         on_fixed_drive(fs, path);
}

// A 32-bit program on 64-bit Windows sees system32 redirected; the path
// exists when it does in either view. Redirection is put back only after a
// disable that worked; elsewhere the disable fails and nothing more happens.
look look_in_both_views(const file_system_seam& fs, const std::wstring& path) {
  const look first = look_in_view(fs, path);
  if (first.presence != path_presence::absent) return first;
  void* old_value = nullptr;
  if (!fs.disable_redirection(&old_value)) return first;
  const look second = look_in_view(fs, path);
  fs.revert_redirection(old_value);
  return second;
}

look look_up(const std::wstring& path) {
  const file_system_seam& fs = current_file_system();
  if (!can_judge(fs, path)) return {path_presence::unknown, 0};
  return look_in_both_views(fs, path);
}

bool same_letters(const wchar_t* a, const wchar_t* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

bool under_folder(const std::wstring& path, const std::wstring& folder) {
  return !folder.empty() && path.size() > folder.size() && path[folder.size()] == L'\\' &&
         same_letters(path.c_str(), folder.c_str(), folder.size());
}

// The same path under the native program-files or common-files folder, when
// a 32-bit program on 64-bit Windows names it under the 32-bit one (which
// is what %ProgramFiles% gives that program); empty otherwise.
std::wstring native_counterpart(const std::wstring& path) {
  const file_system_seam& fs = current_file_system();
  if (!fs.is_wow64()) return {};
  static const wchar_t* const pairs[][2] = {
      {L"CommonProgramFiles", L"CommonProgramW6432"},
      {L"ProgramFiles", L"ProgramW6432"},
  };
  for (const auto& pair : pairs) {
    const std::wstring folder = fs.environment(pair[0]);
    const std::wstring native = fs.environment(pair[1]);
    if (native.empty() || !under_folder(path, folder)) continue;
    if (native.size() == folder.size() && same_letters(native.c_str(), folder.c_str(), native.size()))
      continue;
    return native + path.substr(folder.size());
  }
  return {};
}

}  // namespace

path_presence look_up_path(const std::wstring& path, bool native_folders) {
  const path_presence presence = look_up(path).presence;
  if (presence != path_presence::absent || !native_folders) return presence;
  const std::wstring native = native_counterpart(path);
  return native.empty() ? presence : look_up(native).presence;
}

bool folder_exists(const std::wstring& path) {
  const look found = look_up(path);
  return found.presence == path_presence::present &&
         (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace regscan
