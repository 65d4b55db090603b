#include "platform/win32_volume_io.h"

#include <winioctl.h>

#include <atomic>

namespace dravik {

UINT win32_volume_io::get_drive_type(const char* root) { return GetDriveTypeA(root); }

BOOL win32_volume_io::get_volume_information(const char* root, char* volume_name,
                                             DWORD volume_name_size, DWORD* serial_number,
                                             DWORD* max_component_length,
                                             DWORD* file_system_flags, char* file_system_name,
                                             DWORD file_system_name_size) {
  return GetVolumeInformationA(root, volume_name, volume_name_size, serial_number,
                               max_component_length, file_system_flags, file_system_name,
                               file_system_name_size);
}

BOOL win32_volume_io::get_disk_free_space(const char* root, DWORD* sectors_per_cluster,
                                          DWORD* bytes_per_sector, DWORD* free_clusters,
                                          DWORD* total_clusters) {
  return GetDiskFreeSpaceA(root, sectors_per_cluster, bytes_per_sector, free_clusters,
                           total_clusters);
}

HANDLE win32_volume_io::create_file(const char* name, DWORD desired_access, DWORD share_mode,
                                    DWORD creation_disposition, DWORD flags_and_attributes) {
  return CreateFileA(name, desired_access, share_mode, nullptr, creation_disposition,
                     flags_and_attributes, nullptr);
}

HANDLE win32_volume_io::find_first_file(const char* pattern, WIN32_FIND_DATAA* data) {
  return FindFirstFileA(pattern, data);
}

BOOL win32_volume_io::find_next_file(HANDLE find, WIN32_FIND_DATAA* data) {
  return FindNextFileA(find, data);
}

BOOL win32_volume_io::find_close(HANDLE find) { return FindClose(find); }

BOOL win32_volume_io::device_io_control(HANDLE device, DWORD control_code, void* in_buffer,
                                        DWORD in_size, void* out_buffer, DWORD out_size,
                                        DWORD* bytes_returned) {
  return DeviceIoControl(device, control_code, in_buffer, in_size, out_buffer, out_size,
                         bytes_returned, nullptr);
}

BOOL win32_volume_io::get_file_size_ex(HANDLE file, LARGE_INTEGER* size) {
  return GetFileSizeEx(file, size);
}

BOOL win32_volume_io::close_handle(HANDLE handle) { return CloseHandle(handle); }

DWORD win32_volume_io::get_last_error() { return GetLastError(); }

namespace {

using disable_redirection_call = BOOL(WINAPI*)(PVOID*);
using revert_redirection_call = BOOL(WINAPI*)(PVOID);

struct redirection_calls {
  disable_redirection_call disable = nullptr;
  revert_redirection_call revert = nullptr;
};

// Both or neither: a disable that could not be reverted must not happen.
const redirection_calls& wow64_redirection_calls() {
  static const redirection_calls calls = [] {
    redirection_calls found;
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    if (kernel32 == nullptr) return found;
    // Through a generic function pointer: the casts between unrelated function
    // types are what GetProcAddress asks for.
    const auto disable = reinterpret_cast<void (*)()>(
        GetProcAddress(kernel32, "Wow64DisableWow64FsRedirection"));
    const auto revert = reinterpret_cast<void (*)()>(
        GetProcAddress(kernel32, "Wow64RevertWow64FsRedirection"));
    if (disable == nullptr || revert == nullptr) return found;
    found.disable = reinterpret_cast<disable_redirection_call>(disable);
    found.revert = reinterpret_cast<revert_redirection_call>(revert);
    return found;
  }();
  return calls;
}

}  // namespace

BOOL win32_volume_io::disable_fs_redirection(void** old_value) {
  const redirection_calls& calls = wow64_redirection_calls();
  if (calls.disable == nullptr) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  return calls.disable(old_value);
}

BOOL win32_volume_io::revert_fs_redirection(void* old_value) {
  const redirection_calls& calls = wow64_redirection_calls();
  if (calls.revert == nullptr) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  return calls.revert(old_value);
}

namespace {

win32_volume_io& win32_io() {
  static win32_volume_io io;
  return io;
}

std::atomic<volume_io*> installed_io{nullptr};

}  // namespace

volume_io& current_volume_io() {
  volume_io* io = installed_io.load(std::memory_order_acquire);
  return io ? *io : win32_io();
}

volume_io* install_volume_io(volume_io* io) {
  volume_io* previous = installed_io.exchange(io, std::memory_order_acq_rel);
  return previous ? previous : &win32_io();
}

}  // namespace dravik
