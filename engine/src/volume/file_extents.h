#pragma once
// A file's extents as FSCTL_GET_RETRIEVAL_POINTERS gives them, read from VCN
// 0 into the engine's one extent buffer.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace dravik {

// LCN of an extent that has no clusters on the volume.
constexpr int64_t virtual_extent_lcn = -1;

// A successful read, viewed in the extent buffer: valid until the buffer is
// next read into.
class extent_list {
 public:
  extent_list() = default;
  extent_list(const uint8_t* buffer, uint32_t count) noexcept : buffer_(buffer), count_(count) {}

  uint32_t count() const noexcept { return count_; }
  int64_t lcn(uint32_t i) const noexcept { return field(header_bytes + i * extent_bytes + 8); }
  // Clusters of extent i: its next VCN minus the one before it (the
  // starting VCN for extent 0).
  uint64_t length(uint32_t i) const noexcept {
    const int64_t before = i == 0 ? field(8) : field(header_bytes + (i - 1) * extent_bytes);
    return static_cast<uint64_t>(field(header_bytes + i * extent_bytes) - before);
  }
  bool is_virtual(uint32_t i) const noexcept { return lcn(i) == virtual_extent_lcn; }
  // Where the answer starts (0 for a read from VCN 0), and where extent i ends.
  int64_t starting_vcn() const noexcept { return field(8); }
  int64_t next_vcn(uint32_t i) const noexcept { return field(header_bytes + i * extent_bytes); }

  // RETRIEVAL_POINTERS_BUFFER: ExtentCount, StartingVcn, then per extent its
  // NextVcn and Lcn.
  static constexpr uint32_t header_bytes = 16;
  static constexpr uint32_t extent_bytes = 16;

 private:
  int64_t field(uint32_t offset) const noexcept {
    int64_t value;
    std::memcpy(&value, buffer_ + offset, sizeof value);
    return value;
  }

  const uint8_t* buffer_ = nullptr;
  uint32_t count_ = 0;
};

// The walkers' and movers' extent buffer, grown when a file's extents do not
// fit and never shrunk. The file query of the exports has a buffer of its
// own. Worker thread only.
struct extent_buffer {
  // Room for the extents of a few hundred fragments before the first growth.
  static constexpr uint32_t initial_size = 3232;

  extent_buffer() : bytes(new uint8_t[initial_size]()), size(initial_size) {}
  extent_buffer(const extent_buffer&) = delete;
  extent_buffer& operator=(const extent_buffer&) = delete;

  std::unique_ptr<uint8_t[]> bytes;
  uint32_t size = 0;
};

// Bytes the extent buffer grows by each time a file's extents do not fit:
// the analysis grows it a little at a time, the movers (whose files are the
// badly fragmented ones) in larger steps.
constexpr uint32_t extent_buffer_growth = 3200;
constexpr uint32_t mover_extent_buffer_growth = 80000;

// Reads the extents of file from VCN 0 into buffer.
// While the answer is ERROR_MORE_DATA the buffer is replaced by one growth
// bytes larger and the read starts again from VCN 0. False when the call
// fails otherwise (ERROR_HANDLE_EOF for a file without clusters included) or
// a larger buffer cannot be had; the buffer keeps the size it reached.
// Worker thread only.
bool read_file_extents(extent_buffer& buffer, HANDLE file, extent_list& extents,
                       uint32_t growth = extent_buffer_growth);

}  // namespace dravik
