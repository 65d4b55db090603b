#pragma once
// The calls that put a replaced file of the application folder on the disk,
// so that tests can see what is asked of the system and in which order.
// Install only while no file is being replaced (no worker runs, no dialog).

#include <windows.h>

namespace dravik {

struct file_seam {
  // WriteFile without OVERLAPPED.
  BOOL (*write_file)(HANDLE file, const void* data, DWORD size, DWORD* written);
  // FlushFileBuffers.
  BOOL (*flush_file_buffers)(HANDLE file);
  // MoveFileExA.
  BOOL (*move_file_ex)(const char* from, const char* to, DWORD flags);
};

// The calls of the system.
file_seam system_file_seam();

// The seam replace_file uses now.
const file_seam& current_file_seam();

// Makes seam the one in use and returns the one replaced.
file_seam install_file_seam(const file_seam& seam);

}  // namespace dravik
