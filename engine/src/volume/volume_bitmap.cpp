#include "volume/volume_bitmap.h"

#include <winioctl.h>

#include <cstring>
#include <limits>
#include <new>

#include "platform/volume_io.h"

namespace dravik {

namespace {

// VOLUME_BITMAP_BUFFER: StartingLcn, BitmapSize, then the bits.
constexpr size_t header_size = 16;

uint64_t header_field(const uint8_t* buffer, size_t offset) {
  uint64_t value;
  std::memcpy(&value, buffer + offset, sizeof value);
  return value;
}

}  // namespace

volume_bitmap::volume_bitmap()
    : volume_bitmap_buffer_(new uint8_t[initial_size]()), buffer_size_(initial_size) {}

bool volume_bitmap::ask(HANDLE volume) noexcept {
  starting_lcn_ = 0;
  bytes_returned_ = 0;
  return current_volume_io().device_io_control(volume, FSCTL_GET_VOLUME_BITMAP, &starting_lcn_,
                                               sizeof starting_lcn_, volume_bitmap_buffer_.get(),
                                               buffer_size_, &bytes_returned_) != FALSE;
}

bool volume_bitmap::read(HANDLE volume) {
  if (volume_bitmap_buffer_ == nullptr) return false;
  // Any answer overwrites the buffer, so the bits of the previous read are
  // gone even when this one fails.
  valid_bytes_ = 0;
  if (!ask(volume)) {
    if (current_volume_io().get_last_error() != ERROR_MORE_DATA) return false;

    // The short answer still carries the header, so one retry with the size
    // it reports is enough, plus room for the header and a partial byte.
    const uint64_t first_lcn = header_field(volume_bitmap_buffer_.get(), 0);
    const uint64_t clusters = header_field(volume_bitmap_buffer_.get(), 8);
    if (clusters < first_lcn) return false;
    const uint64_t wanted = (clusters - first_lcn) / 8 + header_size + 9;
    // A size that does not fit the 32-bit buffer length would be cut to a
    // buffer too small for the retry; it is a failed read at once.
    if (wanted > std::numeric_limits<DWORD>::max() ||
        wanted > std::numeric_limits<size_t>::max()) {
      return false;
    }
    // The new buffer is had before the old one goes, so a volume too large
    // for the memory left is a failed read and the buffer stays usable.
    std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[static_cast<size_t>(wanted)]);
    if (grown == nullptr) return false;
    volume_bitmap_buffer_ = std::move(grown);
    buffer_size_ = static_cast<uint32_t>(wanted);
    if (!ask(volume)) return false;
  }
  if (bytes_returned_ < header_size) return false;
  valid_bytes_ = bytes_returned_ < buffer_size_ ? bytes_returned_ : buffer_size_;
  bitmap_clusters_ = header_field(volume_bitmap_buffer_.get(), 8);
  return true;
}

bitmap_view volume_bitmap::view() const noexcept {
  if (volume_bitmap_buffer_ == nullptr || valid_bytes_ < header_size) {
    return {nullptr, 0, 0};
  }
  return {volume_bitmap_buffer_.get() + header_size, valid_bytes_ - header_size, bitmap_clusters_};
}

void volume_bitmap::count_as_used(uint64_t lcn, uint64_t count) noexcept {
  const bitmap_view bits = view();
  const uint64_t held = static_cast<uint64_t>(bits.byte_count) * 8;
  const uint64_t limit = bits.cluster_count < held ? bits.cluster_count : held;
  if (lcn >= limit) return;
  const uint64_t end = count < limit - lcn ? lcn + count : limit;
  uint8_t* const data = volume_bitmap_buffer_.get() + header_size;
  uint64_t cluster = lcn;
  for (; cluster < end && cluster % 8 != 0; ++cluster)
    data[cluster / 8] |= static_cast<uint8_t>(1u << (cluster % 8));
  // Whole bytes at once: a range may cover much of a large volume.
  const uint64_t whole_bytes = (end - cluster) / 8;
  std::memset(data + cluster / 8, 0xFF, static_cast<size_t>(whole_bytes));
  cluster += whole_bytes * 8;
  for (; cluster < end; ++cluster) data[cluster / 8] |= static_cast<uint8_t>(1u << (cluster % 8));
}

void volume_bitmap::release() noexcept {
  volume_bitmap_buffer_.reset();
  buffer_size_ = 0;
  valid_bytes_ = 0;
}

}  // namespace dravik
