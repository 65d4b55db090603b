#include "files/file_seam.h"

#include <utility>

namespace dravik {
namespace {

BOOL system_write(HANDLE file, const void* data, DWORD size, DWORD* written) {
  return WriteFile(file, data, size, written, nullptr);
}
BOOL system_flush(HANDLE file) { return FlushFileBuffers(file); }
BOOL system_move(const char* from, const char* to, DWORD flags) {
  return MoveFileExA(from, to, flags);
}

file_seam& seam_in_use() {
  static file_seam seam = system_file_seam();
  return seam;
}

}  // namespace

file_seam system_file_seam() { return {&system_write, &system_flush, &system_move}; }

const file_seam& current_file_seam() { return seam_in_use(); }

file_seam install_file_seam(const file_seam& seam) { return std::exchange(seam_in_use(), seam); }

}  // namespace dravik
