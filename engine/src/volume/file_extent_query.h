#pragma once
// One file's extent count and size for the host's file details
// (DLL_GetVolumeSectorFileInfo).
//
// It has its own extent buffer and file handle, never the workers': a query
// made while a worker walks must not reallocate the buffer the worker reads
// extents into. User interface thread.

#include <cstdint>
#include <memory>

#include "dravik/file_extent_info.h"

namespace dravik {

class file_extent_query {
 public:
  // Room for a few hundred extents before the first growth; each shortage
  // adds this much again.
  static constexpr uint32_t initial_buffer_size = 3232;
  static constexpr uint32_t buffer_growth = 80000;

  file_extent_query();
  file_extent_query(const file_extent_query&) = delete;
  file_extent_query& operator=(const file_extent_query&) = delete;

  // Opens path without sharing, reads its extents from VCN 0 (growing the
  // buffer while the answer is short) and its size. Null when the file cannot
  // be opened. A failed extent read reports extentCount 0; sizeInClusters is
  // 0 while bytes_per_cluster is 0. The record is this object's, rewritten by
  // the next read.
  FileExtentInfo* read(const char* path, uint64_t bytes_per_cluster);

  uint32_t buffer_size() const noexcept { return buffer_size_; }

 private:
  // The file's extent count, or 0 when the read fails.
  uint32_t read_extent_count(void* file);

  FileExtentInfo info_{};
  std::unique_ptr<uint8_t[]> buffer_;
  uint32_t buffer_size_ = 0;
};

}  // namespace dravik
