#pragma once
// A volume_io that passes every call to another one and keeps the bitmap
// reads it sees, so tests can check how the engine sizes its buffer. It can
// also fail a chosen bitmap read, which the simulator cannot do after a first
// short answer. Single-threaded tests only.

#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <vector>

#include "platform/volume_io.h"

namespace dravik::testing {

class recording_volume_io final : public dravik::volume_io {
 public:
  struct bitmap_read {
    DWORD out_size;
    BOOL ok;
    DWORD error;
  };

  explicit recording_volume_io(dravik::volume_io& inner) : inner_(inner) {}

  std::vector<bitmap_read> bitmap_reads;
  // The bitmap read with this 1-based number fails with fail_error.
  size_t fail_bitmap_read = 0;
  DWORD fail_error = ERROR_IO_DEVICE;

  UINT get_drive_type(const char* root) override {
    injected_error_ = 0;
    return inner_.get_drive_type(root);
  }
  BOOL get_volume_information(const char* root, char* volume_name, DWORD volume_name_size,
                              DWORD* serial_number, DWORD* max_component_length,
                              DWORD* file_system_flags, char* file_system_name,
                              DWORD file_system_name_size) override {
    injected_error_ = 0;
    return inner_.get_volume_information(root, volume_name, volume_name_size, serial_number,
                                         max_component_length, file_system_flags,
                                         file_system_name, file_system_name_size);
  }
  BOOL get_disk_free_space(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector,
                           DWORD* free_clusters, DWORD* total_clusters) override {
    injected_error_ = 0;
    return inner_.get_disk_free_space(root, sectors_per_cluster, bytes_per_sector, free_clusters,
                                      total_clusters);
  }
  HANDLE create_file(const char* name, DWORD desired_access, DWORD share_mode,
                     DWORD creation_disposition, DWORD flags_and_attributes) override {
    injected_error_ = 0;
    return inner_.create_file(name, desired_access, share_mode, creation_disposition,
                              flags_and_attributes);
  }
  HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) override {
    injected_error_ = 0;
    return inner_.find_first_file(pattern, data);
  }
  BOOL find_next_file(HANDLE find, WIN32_FIND_DATAA* data) override {
    injected_error_ = 0;
    return inner_.find_next_file(find, data);
  }
  BOOL find_close(HANDLE find) override {
    injected_error_ = 0;
    return inner_.find_close(find);
  }
  BOOL device_io_control(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                         void* out_buffer, DWORD out_size, DWORD* bytes_returned) override {
    injected_error_ = 0;
    if (control_code != FSCTL_GET_VOLUME_BITMAP) {
      return inner_.device_io_control(device, control_code, in_buffer, in_size, out_buffer,
                                      out_size, bytes_returned);
    }
    if (bitmap_reads.size() + 1 == fail_bitmap_read) {
      bitmap_reads.push_back({out_size, FALSE, fail_error});
      injected_error_ = fail_error;
      return FALSE;
    }
    const BOOL ok = inner_.device_io_control(device, control_code, in_buffer, in_size, out_buffer,
                                             out_size, bytes_returned);
    bitmap_reads.push_back({out_size, ok, ok ? 0 : inner_.get_last_error()});
    return ok;
  }
  BOOL get_file_size_ex(HANDLE file, LARGE_INTEGER* size) override {
    injected_error_ = 0;
    return inner_.get_file_size_ex(file, size);
  }
  BOOL close_handle(HANDLE handle) override {
    injected_error_ = 0;
    return inner_.close_handle(handle);
  }
  DWORD get_last_error() override {
    return injected_error_ != 0 ? injected_error_ : inner_.get_last_error();
  }
  BOOL disable_fs_redirection(void** old_value) override {
    injected_error_ = 0;
    return inner_.disable_fs_redirection(old_value);
  }
  BOOL revert_fs_redirection(void* old_value) override {
    injected_error_ = 0;
    return inner_.revert_fs_redirection(old_value);
  }

 private:
  dravik::volume_io& inner_;
  DWORD injected_error_ = 0;  // the error of a failure made here, until the next call
};

}  // namespace dravik::testing
