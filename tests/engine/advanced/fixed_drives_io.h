#pragma once
// A volume seam that knows drive types only: the letters given are fixed
// drives, every other root has no volume. Installed for the life of the
// object, so dialogs list exactly these drives.

#include "platform/volume_io.h"

#include <string>

namespace dravik::testing {

class fixed_drives_io final : public dravik::volume_io {
 public:
  explicit fixed_drives_io(std::string letters)
      : letters_(std::move(letters)), previous_(dravik::install_volume_io(this)) {}
  ~fixed_drives_io() override { dravik::install_volume_io(previous_); }
  fixed_drives_io(const fixed_drives_io&) = delete;
  fixed_drives_io& operator=(const fixed_drives_io&) = delete;

  UINT get_drive_type(const char* root) override {
    if (root && root[0] && std::string(root + 1) == ":\\" &&
        letters_.find(root[0]) != std::string::npos)
      return DRIVE_FIXED;
    return DRIVE_NO_ROOT_DIR;
  }
  BOOL get_volume_information(const char*, char*, DWORD, DWORD*, DWORD*, DWORD*, char*,
                              DWORD) override {
    return FALSE;
  }
  BOOL get_disk_free_space(const char*, DWORD*, DWORD*, DWORD*, DWORD*) override { return FALSE; }
  HANDLE create_file(const char*, DWORD, DWORD, DWORD, DWORD) override {
    return INVALID_HANDLE_VALUE;
  }
  HANDLE find_first_file(const char*, WIN32_FIND_DATAA*) override { return INVALID_HANDLE_VALUE; }
  BOOL find_next_file(HANDLE, WIN32_FIND_DATAA*) override { return FALSE; }
  BOOL find_close(HANDLE) override { return FALSE; }
  BOOL device_io_control(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD*) override {
    return FALSE;
  }
  BOOL get_file_size_ex(HANDLE, LARGE_INTEGER*) override { return FALSE; }
  BOOL close_handle(HANDLE) override { return FALSE; }
  DWORD get_last_error() override { return ERROR_NOT_READY; }
  BOOL disable_fs_redirection(void**) override { return FALSE; }
  BOOL revert_fs_redirection(void*) override { return FALSE; }

 private:
  std::string letters_;
  dravik::volume_io* previous_;
};

}  // namespace dravik::testing
