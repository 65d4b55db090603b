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

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Whether the path itself or a folder on its way from the root is a reparse
// point (a junction, a symbolic link, a volume mounted in a folder). Its
// target may be a disk that is away, so "not found" there says nothing.
// Parts that do not exist are passed over; a few attribute reads.
bool through_reparse_point(const std::wstring& path) {
  const file_system_seam& fs = current_file_system();
  std::size_t end = path.size();
  while (end > 3 && is_separator(path[end - 1])) --end;
  while (true) {
    const DWORD attributes = fs.get_attributes(path.substr(0, end).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
      return true;
    if (end <= 3) return false;
    // Back to the folder above: up to the separator before the last part,
    // the root's own separator kept.
    --end;
    while (end > 3 && !is_separator(path[end])) --end;
  }
}

// What one look says of a path wanted as what: a folder does not count
// where only a file will do, and nothing that passes through a reparse
// point is called absent.
path_presence presence_of(const std::wstring& path, path_kind wanted) {
  const look found = look_up(path);
  const bool folder_only = wanted == path_kind::file && found.presence == path_presence::present &&
                           (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (found.presence != path_presence::absent && !folder_only) return found.presence;
  return through_reparse_point(path) ? path_presence::unknown : path_presence::absent;
}

// Letters compared without case; "/" stands for a backslash, as the system
// reads it.
bool same_letters(const wchar_t* a, const wchar_t* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (is_separator(a[i]) && is_separator(b[i])) continue;
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

bool under_folder(const std::wstring& path, const std::wstring& folder) {
  return !folder.empty() && path.size() > folder.size() && is_separator(path[folder.size()]) &&
         same_letters(path.c_str(), folder.c_str(), folder.size());
}

// The same path under the native program-files or common-files folder, when
// a 32-bit program on 64-bit Windows names it under the 32-bit one (which
// is what %ProgramFiles% gives that program), with a backslash or "/" after
// or inside the folder's name; empty otherwise.
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

path_presence look_up_path(const std::wstring& path, bool native_folders, path_kind wanted) {
  const path_presence presence = presence_of(path, wanted);
  if (presence != path_presence::absent || !native_folders) return presence;
  const std::wstring native = native_counterpart(path);
  return native.empty() ? presence : presence_of(native, wanted);
}

bool folder_exists(const std::wstring& path) {
  const look found = look_up(path);
  return found.presence == path_presence::present &&
         (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace regscan
