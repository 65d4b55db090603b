#pragma once
// The engine's one volume bitmap buffer and its read through
// FSCTL_GET_VOLUME_BITMAP.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "volume/free_runs.h"

namespace dravik {

class volume_bitmap {
 public:
  // What the buffer holds before the first read: room for the header only.
  static constexpr uint32_t initial_size = 24;

  volume_bitmap();
  volume_bitmap(const volume_bitmap&) = delete;
  volume_bitmap& operator=(const volume_bitmap&) = delete;

  // read_volume_bitmap: reads the whole bitmap of volume from cluster 0.
  // A short buffer is grown once, to fit the size the first answer reports,
  // and the read repeated; the buffer never shrinks. Returns false when a
  // read fails or the larger buffer cannot be had; the buffer size and
  // bitmap_clusters() then keep what they held. Runs on one thread at a time.
  bool read(HANDLE volume);

  // BitmapSize of the last successful read (0 before it).
  uint64_t bitmap_clusters() const noexcept { return bitmap_clusters_; }
  uint32_t buffer_size() const noexcept { return buffer_size_; }

  // The bits of the last read; empty after a failed one.
  bitmap_view view() const noexcept;

  // Counts the clusters lcn to lcn + count - 1 as in use in the bits of the
  // last read (this copy only; the volume is not asked). Clusters the read
  // did not cover are left alone.
  void count_as_used(uint64_t lcn, uint64_t count) noexcept;

  // Frees the buffer at unload; read() is not to be called afterwards.
  void release() noexcept;

 private:
  bool ask(HANDLE volume) noexcept;

  std::unique_ptr<uint8_t[]> volume_bitmap_buffer_;
  uint32_t buffer_size_ = 0;
  uint64_t starting_lcn_ = 0;
  DWORD bytes_returned_ = 0;
  DWORD valid_bytes_ = 0;  // bytes of the last successful read
  uint64_t bitmap_clusters_ = 0;
};

}  // namespace dravik
