// DeviceIoControl of simulated_volume: which handle each control code takes,
// the input checks, and the move hook around FSCTL_MOVE_FILE.
#include <windows.h>
#include <winioctl.h>

#include <cstring>

#include "last_error.h"
#include "simulated_volume.h"

namespace dravik::sim {

static_assert(sizeof(MOVE_FILE_DATA) == 32 || sizeof(void*) == 4);
static_assert(sizeof(STARTING_LCN_INPUT_BUFFER) == 8 && sizeof(STARTING_VCN_INPUT_BUFFER) == 8);

BOOL simulated_volume::device_io_control(HANDLE device, DWORD control_code, void* in_buffer,
                                         DWORD in_size, void* out_buffer, DWORD out_size,
                                         DWORD* bytes_returned) {
  if (bytes_returned == nullptr) {
    // Without OVERLAPPED the platform writes the count unconditionally.
    std::lock_guard lock(mutex_);
    note_misuse("DeviceIoControl without a byte count");
    return fail(ERROR_INVALID_PARAMETER);
  }
  *bytes_returned = 0;
  if (control_code == FSCTL_MOVE_FILE) return move_file(device, in_buffer, in_size, bytes_returned);

  std::lock_guard lock(mutex_);
  open_handle* handle = handles_.find(device);
  if (handle == nullptr || handle->kind == handle_kind::find) return fail(ERROR_INVALID_HANDLE);
  drive& d = *drive_of(handle->letter);
  const volume_model& volume = *d.volume;
  DWORD error = 0;
  switch (control_code) {
    case FSCTL_GET_VOLUME_BITMAP: {
      if (handle->kind != handle_kind::volume) return fail(ERROR_INVALID_PARAMETER);
      if (in_buffer == nullptr || in_size < sizeof(STARTING_LCN_INPUT_BUFFER)) {
        return fail(ERROR_INVALID_PARAMETER);
      }
      if (d.bitmap_failures != 0) {
        if (d.bitmap_failures > 0) --d.bitmap_failures;
        return fail(d.bitmap_error);
      }
      const auto* input = static_cast<const STARTING_LCN_INPUT_BUFFER*>(in_buffer);
      error = volume.read_bitmap(input->StartingLcn.QuadPart, out_buffer, out_size, bytes_returned);
      break;
    }
    case FSCTL_GET_RETRIEVAL_POINTERS: {
      if (in_buffer == nullptr || in_size < sizeof(STARTING_VCN_INPUT_BUFFER)) {
        return fail(ERROR_INVALID_PARAMETER);
      }
      const LONGLONG start =
          static_cast<const STARTING_VCN_INPUT_BUFFER*>(in_buffer)->StartingVcn.QuadPart;
      if (handle->kind == handle_kind::volume) {
        // NTFS answers a volume handle with its bad-cluster map; FAT refuses.
        if (!volume.is_ntfs()) return fail(ERROR_INVALID_PARAMETER);
        error = volume.read_volume_extents(start, out_buffer, out_size, bytes_returned);
      } else if (!volume.alive(handle->node)) {
        return fail(ERROR_ACCESS_DENIED);  // deleted since it was opened
      } else {
        error = volume.read_extents(handle->node, start, out_buffer, out_size, bytes_returned);
      }
      break;
    }
    default:
      return fail(ERROR_INVALID_FUNCTION);
  }
  return error == 0 ? TRUE : fail(error);
}

BOOL simulated_volume::move_file(HANDLE device, const void* in_buffer, DWORD in_size,
                                 DWORD* bytes_returned) {
  MOVE_FILE_DATA request{};
  move_request event{};
  move_hook hook;
  // Checks that need no more than the handles: the request must come on a
  // volume handle and name a file on that same volume.
  auto check_handles = [&]() -> DWORD {
    open_handle* volume_handle = handles_.find(device);
    if (volume_handle == nullptr || volume_handle->kind == handle_kind::find)
      return ERROR_INVALID_HANDLE;
    if (volume_handle->kind != handle_kind::volume) return ERROR_INVALID_PARAMETER;
    open_handle* file_handle = handles_.find(request.FileHandle);
    if (file_handle == nullptr || file_handle->kind == handle_kind::find)
      return ERROR_INVALID_HANDLE;
    if (file_handle->kind != handle_kind::file || file_handle->letter != volume_handle->letter) {
      return ERROR_INVALID_PARAMETER;
    }
    if (!drive_of(file_handle->letter)->volume->alive(file_handle->node))
      return ERROR_ACCESS_DENIED;
    event.letter = file_handle->letter;
    return 0;
  };
  {
    std::lock_guard lock(mutex_);
    if (handles_.find(device) == nullptr) return fail(ERROR_INVALID_HANDLE);
    if (in_buffer == nullptr || in_size < sizeof(MOVE_FILE_DATA))
      return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(&request, in_buffer, sizeof request);
    if (const DWORD error = check_handles()) return fail(error);
    const volume_model& volume = *drive_of(event.letter)->volume;
    event.path = std::string(1, event.letter) + ":" +
                 volume.path_of(handles_.find(request.FileHandle)->node);
    event.starting_vcn = request.StartingVcn.QuadPart;
    event.starting_lcn = request.StartingLcn.QuadPart;
    event.cluster_count = request.ClusterCount;
    event.number = ++move_requests_;
    hook = move_hook_;
  }
  if (hook) {
    // Outside the lock: the hook may take clusters or stop the engine.
    try {
      hook(event);
    } catch (...) {
      std::lock_guard lock(mutex_);
      note_misuse("the move hook threw");
    }
  }
  std::lock_guard lock(mutex_);
  if (const DWORD error = check_handles()) return fail(error);
  volume_model& volume = *drive_of(event.letter)->volume;
  const node_id file = handles_.find(request.FileHandle)->node;
  if (const DWORD error = volume.move(file, request.StartingVcn.QuadPart,
                                      request.StartingLcn.QuadPart, request.ClusterCount)) {
    return fail(error);
  }
  ++moves_done_;
  *bytes_returned = 0;
  return TRUE;
}

}  // namespace dravik::sim
