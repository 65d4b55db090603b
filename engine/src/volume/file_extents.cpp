#include "volume/file_extents.h"

#include <winioctl.h>

#include <limits>
#include <new>

#include "platform/volume_io.h"

namespace dravik {

namespace {

bool grow_extent_buffer(extent_buffer& buffer, uint32_t growth) {
  if (buffer.size > std::numeric_limits<uint32_t>::max() - growth) return false;
  const uint32_t size = buffer.size + growth;
  // The new buffer is had before the old one goes, so a failure leaves the
  // engine a usable buffer.
  std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[size]);
  if (grown == nullptr) return false;
  buffer.bytes = std::move(grown);
  buffer.size = size;
  return true;
}

}  // namespace

bool read_file_extents(extent_buffer& buffer, HANDLE file, extent_list& extents,
                       uint32_t growth) {
  volume_io& io = current_volume_io();
  for (;;) {
    if (buffer.bytes == nullptr) return false;
    STARTING_VCN_INPUT_BUFFER start{};
    DWORD returned = 0;
    if (io.device_io_control(file, FSCTL_GET_RETRIEVAL_POINTERS, &start, sizeof start,
                             buffer.bytes.get(), buffer.size, &returned)) {
      if (returned > buffer.size) returned = buffer.size;
      if (returned < extent_list::header_bytes) return false;
      uint32_t count;
      std::memcpy(&count, buffer.bytes.get(), sizeof count);
      // Never believe a count that the answer does not hold.
      const uint32_t held = (returned - extent_list::header_bytes) / extent_list::extent_bytes;
      extents = extent_list(buffer.bytes.get(), count < held ? count : held);
      return true;
    }
    if (io.get_last_error() != ERROR_MORE_DATA) return false;
    if (!grow_extent_buffer(buffer, growth)) return false;
  }
}

}  // namespace dravik
