#pragma once

#include "platform/volume_io.h"

namespace dravik {

// Forwards every operation to the Win32 call of the same name.
class win32_volume_io final : public volume_io {
 public:
  UINT get_drive_type(const char* root) override;
  BOOL get_volume_information(const char* root, char* volume_name, DWORD volume_name_size,
                              DWORD* serial_number, DWORD* max_component_length,
                              DWORD* file_system_flags, char* file_system_name,
                              DWORD file_system_name_size) override;
  BOOL get_disk_free_space(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector,
                           DWORD* free_clusters, DWORD* total_clusters) override;
  HANDLE create_file(const char* name, DWORD desired_access, DWORD share_mode,
                     DWORD creation_disposition, DWORD flags_and_attributes) override;
  HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) override;
  BOOL find_next_file(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL find_close(HANDLE find) override;
  BOOL device_io_control(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                         void* out_buffer, DWORD out_size, DWORD* bytes_returned) override;
  BOOL get_file_size_ex(HANDLE file, LARGE_INTEGER* size) override;
  BOOL close_handle(HANDLE handle) override;
  DWORD get_last_error() override;
  // Looked up in kernel32 at run time: 32-bit Windows may lack them.
  BOOL disable_fs_redirection(void** old_value) override;
  BOOL revert_fs_redirection(void* old_value) override;
};

}  // namespace dravik
