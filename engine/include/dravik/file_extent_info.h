#pragma once
// One file's extent count and size, as the engine returns it to the program.

#include <cstddef>
#include <cstdint>

struct FileExtentInfo {
  uint32_t extentCount;
  uint64_t sizeInClusters;  // bytes / bytes per cluster of the selected volume, truncated
  uint64_t sizeInBytes;
};

static_assert(sizeof(FileExtentInfo) == 24, "FileExtentInfo crosses the library boundary");
static_assert(offsetof(FileExtentInfo, extentCount) == 0);
static_assert(offsetof(FileExtentInfo, sizeInClusters) == 8);
static_assert(offsetof(FileExtentInfo, sizeInBytes) == 16);
