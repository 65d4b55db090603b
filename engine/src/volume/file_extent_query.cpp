#include "volume/file_extent_query.h"

#include <windows.h>
#include <winioctl.h>

#include <new>

#include "state/volume_handle.h"
#include "platform/volume_io.h"
#include "volume/redirection_off.h"

namespace dravik {

file_extent_query::file_extent_query()
    : buffer_(new (std::nothrow) uint8_t[initial_buffer_size]()),
      buffer_size_(buffer_ != nullptr ? initial_buffer_size : 0) {}

FileExtentInfo* file_extent_query::read(const char* path, uint64_t bytes_per_cluster) {
  if (path == nullptr) return nullptr;
  volume_io& io = current_volume_io();
  // The host names a file from a cell's list: the real one the walk saw.
  const redirection_off real_names(io);
  volume_handle file;
  file.reset(io.create_file(path, 0, 0, OPEN_EXISTING, 0));
  if (!file.is_open()) return nullptr;

  const uint32_t extent_count = read_extent_count(file.get());
  LARGE_INTEGER size{};
  if (!io.get_file_size_ex(file.get(), &size) || size.QuadPart < 0) size.QuadPart = 0;
  file.close();

  info_.extentCount = extent_count;
  info_.sizeInBytes = static_cast<uint64_t>(size.QuadPart);
  info_.sizeInClusters = bytes_per_cluster != 0 ? info_.sizeInBytes / bytes_per_cluster : 0;
  return &info_;
}

uint32_t file_extent_query::read_extent_count(void* file) {
  volume_io& io = current_volume_io();
  if (buffer_ == nullptr) {
    // A growth failed on an earlier file: start again from the small size.
    buffer_.reset(new (std::nothrow) uint8_t[initial_buffer_size]());
    buffer_size_ = buffer_ != nullptr ? initial_buffer_size : 0;
  }
  for (;;) {
    if (buffer_ == nullptr) return 0;
    STARTING_VCN_INPUT_BUFFER input{};
    input.StartingVcn.QuadPart = 0;
    DWORD returned = 0;
    if (io.device_io_control(file, FSCTL_GET_RETRIEVAL_POINTERS, &input, sizeof input,
                             buffer_.get(), buffer_size_, &returned)) {
      return reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(buffer_.get())->ExtentCount;
    }
    // Whatever the buffer still holds belongs to an earlier file or to a
    // partial answer: a failed read counts no extents (a file without
    // clusters answers ERROR_HANDLE_EOF).
    if (io.get_last_error() != ERROR_MORE_DATA) return 0;
    const uint64_t larger = uint64_t{buffer_size_} + buffer_growth;
    if (larger > 0xFFFFFFFFu) return 0;
    buffer_.reset(new (std::nothrow) uint8_t[larger]);
    buffer_size_ = buffer_ != nullptr ? static_cast<uint32_t>(larger) : 0;
  }
}

}  // namespace dravik
