#include "volume/file_extents.h"

#include <winioctl.h>

#include <limits>
#include <new>

#include "platform/volume_io.h"

namespace dravik {

namespace {

bool grow_extent_buffer(engine_context& context, uint32_t growth) {
  if (context.extent_buffer_size > std::numeric_limits<uint32_t>::max() - growth) return false;
  const uint32_t size = context.extent_buffer_size + growth;
  // The new buffer is had before the old one goes, so a failure leaves the
  // engine a usable buffer.
  std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[size]);
  if (grown == nullptr) return false;
  context.extent_buffer = std::move(grown);
  context.extent_buffer_size = size;
  return true;
}

}  // namespace

bool read_file_extents(engine_context& context, HANDLE file, extent_list& extents,
                       uint32_t growth) {
  volume_io& io = current_volume_io();
  for (;;) {
    if (context.extent_buffer == nullptr) return false;
    STARTING_VCN_INPUT_BUFFER start{};
    DWORD returned = 0;
    if (io.device_io_control(file, FSCTL_GET_RETRIEVAL_POINTERS, &start, sizeof start,
                             context.extent_buffer.get(), context.extent_buffer_size,
                             &returned)) {
      if (returned > context.extent_buffer_size) returned = context.extent_buffer_size;
      if (returned < extent_list::header_bytes) return false;
      uint32_t count;
      std::memcpy(&count, context.extent_buffer.get(), sizeof count);
      // Never believe a count that the answer does not hold.
      const uint32_t held = (returned - extent_list::header_bytes) / extent_list::extent_bytes;
      extents = extent_list(context.extent_buffer.get(), count < held ? count : held);
      return true;
    }
    if (io.get_last_error() != ERROR_MORE_DATA) return false;
    if (!grow_extent_buffer(context, growth)) return false;
  }
}

}  // namespace dravik
