#include "file_system_in_use.h"
#include "regscan/path_checks.h"

namespace regscan {

namespace {

enum class wanted { file, folder };

// One look in the current file-system view. Only attributes are read: opening
// the file would fail for one another program holds for writing, and could
// reach a device or a pipe. A file that is there but may not be read counts.
bool present_in_view(const file_system_seam& fs, const std::wstring& path, wanted kind) {
  const DWORD attributes = fs.get_attributes(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
  }
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return kind == wanted::folder ? folder : !folder;
}

// A 32-bit program on 64-bit Windows sees system32 redirected; the path
// exists when it does in either view. Redirection is put back only after a
// disable that worked; elsewhere the disable fails and nothing more happens.
bool present(const std::wstring& path, wanted kind) {
  if (path.empty()) return false;
  const file_system_seam& fs = current_file_system();
  if (present_in_view(fs, path, kind)) return true;
  void* old_value = nullptr;
  if (!fs.disable_redirection(&old_value)) return false;
  const bool found = present_in_view(fs, path, kind);
  fs.revert_redirection(old_value);
  return found;
}

}  // namespace

bool file_exists(const std::wstring& path) { return present(path, wanted::file); }

bool folder_exists(const std::wstring& path) { return present(path, wanted::folder); }

}  // namespace regscan
