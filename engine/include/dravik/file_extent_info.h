#pragma once
// One file's extent count and size, as DLL_GetVolumeSectorFileInfo returns
// it to the program. Its layout is part of the library's interface.

#include <cstddef>
#include <cstdint>

struct FileExtentInfo {
  uint32_t extentCount;     // 0 when the file's extents could not be read
  uint32_t padding;
  uint64_t sizeInClusters;  // bytes / bytes per cluster of the selected volume, truncated
  uint64_t sizeInBytes;
};

static_assert(sizeof(FileExtentInfo) == 24, "FileExtentInfo crosses the library boundary");
static_assert(offsetof(FileExtentInfo, extentCount) == 0);
static_assert(offsetof(FileExtentInfo, sizeInClusters) == 8);
static_assert(offsetof(FileExtentInfo, sizeInBytes) == 16);
