#pragma once
// The engine's one way to reach drives, volumes and the files on them.
//
// Every operation mirrors the Win32 call it is named after, with the same
// argument and result conventions: handles (INVALID_HANDLE_VALUE on failure),
// BOOL results, the last-error code kept per thread and read with
// get_last_error(), and the documented input and output buffer layouts of the
// control codes (VOLUME_BITMAP_BUFFER, RETRIEVAL_POINTERS_BUFFER,
// MOVE_FILE_DATA). Production uses the Win32 calls themselves; tests and
// benchmarks install a simulated volume.
//
// Implementations must be safe to call from several threads at once (the
// engine's workers and the exports run on different threads).

#include <windows.h>
#include <winioctl.h>

#include <cstddef>

namespace dravik {

// The control codes' buffers as the engine lays them out by hand (a 16-byte
// bitmap header, a 24-byte start, 16-byte extents). The shipped build is
// 32-bit and the test build 64-bit: both must see the same offsets.
static_assert(sizeof(STARTING_LCN_INPUT_BUFFER) == 8);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, StartingLcn) == 0);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, BitmapSize) == 8);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, Buffer) == 16);
static_assert(sizeof(VOLUME_BITMAP_BUFFER) == 24);
static_assert(sizeof(STARTING_VCN_INPUT_BUFFER) == 8);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, ExtentCount) == 0);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, StartingVcn) == 8);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, Extents) == 16);
static_assert(sizeof(RETRIEVAL_POINTERS_BUFFER::Extents[0]) == 16);
static_assert(sizeof(RETRIEVAL_POINTERS_BUFFER) == 32);
static_assert(offsetof(MOVE_FILE_DATA, FileHandle) == 0);
static_assert(offsetof(MOVE_FILE_DATA, StartingVcn) == 8);
static_assert(offsetof(MOVE_FILE_DATA, StartingLcn) == 16);
static_assert(offsetof(MOVE_FILE_DATA, ClusterCount) == 24);
static_assert(sizeof(MOVE_FILE_DATA) == 32);

class volume_io {
 public:
  virtual ~volume_io() = default;

  // GetDriveTypeA: DRIVE_FIXED, DRIVE_NO_ROOT_DIR, ... for a root such as "C:\".
  virtual UINT get_drive_type(const char* root) = 0;

  // GetVolumeInformationA (any output pointer may be null).
  virtual BOOL get_volume_information(const char* root, char* volume_name, DWORD volume_name_size,
                                      DWORD* serial_number, DWORD* max_component_length,
                                      DWORD* file_system_flags, char* file_system_name,
                                      DWORD file_system_name_size) = 0;

  // GetDiskFreeSpaceA: the 32-bit counts.
  virtual BOOL get_disk_free_space(const char* root, DWORD* sectors_per_cluster,
                                   DWORD* bytes_per_sector, DWORD* free_clusters,
                                   DWORD* total_clusters) = 0;

  // CreateFileA without security attributes or template: a volume ("\\.\C:")
  // or a file ("C:\dir\name"). INVALID_HANDLE_VALUE on failure.
  virtual HANDLE create_file(const char* name, DWORD desired_access, DWORD share_mode,
                             DWORD creation_disposition, DWORD flags_and_attributes) = 0;

  // FindFirstFileA / FindNextFileA / FindClose over a pattern such as "C:\dir\*".
  virtual HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL find_next_file(HANDLE find, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL find_close(HANDLE find) = 0;

  // DeviceIoControl without OVERLAPPED: FSCTL_GET_VOLUME_BITMAP,
  // FSCTL_GET_RETRIEVAL_POINTERS and FSCTL_MOVE_FILE.
  virtual BOOL device_io_control(HANDLE device, DWORD control_code, void* in_buffer,
                                 DWORD in_size, void* out_buffer, DWORD out_size,
                                 DWORD* bytes_returned) = 0;

  // GetFileSizeEx.
  virtual BOOL get_file_size_ex(HANDLE file, LARGE_INTEGER* size) = 0;

  // CloseHandle, for handles from create_file.
  virtual BOOL close_handle(HANDLE handle) = 0;

  // GetLastError of the calling thread, as the last failing operation left it.
  virtual DWORD get_last_error() = 0;

  // Wow64DisableWow64FsRedirection / Wow64RevertWow64FsRedirection: a 32-bit
  // process on 64-bit Windows sees the system folder's 32-bit stand-in unless
  // it turns the redirection off; the state is the calling thread's. Disable
  // stores in *old_value what revert takes to put the state back (any value,
  // null included). Both fail (FALSE) for a process the platform does not
  // redirect: a 64-bit one, or any process on 32-bit Windows.
  virtual BOOL disable_fs_redirection(void** old_value) = 0;
  virtual BOOL revert_fs_redirection(void* old_value) = 0;
};

// The implementation the engine uses. Defaults to the Win32 one; tests install
// another before loading the engine and put back the previous one after.
volume_io& current_volume_io();

// Installs io (null restores the Win32 implementation) and returns the one it
// replaces. Not to be called while a worker runs.
volume_io* install_volume_io(volume_io* io);

}  // namespace dravik
