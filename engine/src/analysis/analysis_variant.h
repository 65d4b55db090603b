#pragma once
// Which of the four analysis walks a volume gets: NTFS or FAT (any other file
// system), and on a volume with more than 1 GiB in use the large walk, which
// examines only files of more than 1 MiB. The defragmentation walk and its
// movers take the same variant: there the size test decides whose cells a
// move updates, and the FAT offset applies to cells and recorded positions.

#include <cstdint>
#include <string_view>

#include "cells/cell_geometry.h"

namespace dravik {

// Used bytes above which a volume gets the large walk.
constexpr uint64_t large_volume_used_bytes = 1073741824;
// In the large walks, files of this many bytes or fewer are not examined.
constexpr uint64_t large_walk_smallest_file = 1048576;

struct analysis_variant {
  bool ntfs = true;    // false: the FAT walk, for every other file system
  bool large = false;  // examine only files of more than large_walk_smallest_file bytes

  // What the walk adds to an LCN before it is mapped to a cell.
  int64_t lcn_offset() const noexcept { return ntfs ? ntfs_lcn_offset : fat_lcn_offset; }
  // Whether a file of this size is examined at all.
  bool examines(uint64_t file_size) const noexcept {
    return !large || file_size > large_walk_smallest_file;
  }
};

// The variant of a volume by its file system name ("NTFS", compared exactly)
// and its used size at load (bytes per cluster x used clusters).
analysis_variant choose_analysis_variant(std::string_view file_system_name,
                                         uint32_t bytes_per_cluster,
                                         uint64_t used_clusters) noexcept;

}  // namespace dravik
