#pragma once
// The system calls behind the path checks, so tests can stand in for drive
// types, file-system errors, redirection and the folders a 32-bit program on
// 64-bit Windows sees. Install only while no registry worker runs.

#include <windows.h>

#include <string>

namespace regscan {

struct file_system_seam {
  // GetFileAttributesW: the attributes, or INVALID_FILE_ATTRIBUTES with the
  // thread's last error set.
  DWORD (*get_attributes)(const wchar_t* path);
  // Wow64DisableWow64FsRedirection / Wow64RevertWow64FsRedirection.
  BOOL (*disable_redirection)(void** old_value);
  BOOL (*revert_redirection)(void* old_value);
  // GetDriveTypeW of a root such as "C:\".
  UINT (*drive_type)(const wchar_t* root);
  // Whether this is a 32-bit process on 64-bit Windows (IsWow64Process).
  bool (*is_wow64)();
  // An environment variable of the process; empty when it is not set.
  std::wstring (*environment)(const wchar_t* name);
};

// The calls of the system.
file_system_seam system_file_system();

// Makes seam the one the checks use and returns the one replaced.
file_system_seam install_file_system(const file_system_seam& seam);

}  // namespace regscan
