#include "regscan/file_system_seam.h"

#include "file_system_in_use.h"

#include <utility>

namespace regscan {

namespace {

DWORD system_attributes(const wchar_t* path) { return GetFileAttributesW(path); }
BOOL system_disable(void** old_value) { return Wow64DisableWow64FsRedirection(old_value); }
BOOL system_revert(void* old_value) { return Wow64RevertWow64FsRedirection(old_value); }

file_system_seam& seam_in_use() {
  static file_system_seam seam = system_file_system();
  return seam;
}

}  // namespace

file_system_seam system_file_system() {
  return {&system_attributes, &system_disable, &system_revert};
}

file_system_seam install_file_system(const file_system_seam& seam) {
  return std::exchange(seam_in_use(), seam);
}

const file_system_seam& current_file_system() { return seam_in_use(); }

}  // namespace regscan
