#pragma once
// A volume's facts as the engine took them at load, as DLL_GetVolumeInfo
// returns them to the program. Its layout is part of the library's interface.

#include <cstddef>
#include <cstdint>

struct VolumeInfo {
  char fileSystem[10];      // "NTFS", "FAT32"
  char totalSizeText[100];  // "465.7 GB"
  char usedSizeText[100];
  char padding1[6];
  uint64_t clustersPerCell;
  uint64_t freeClusters;  // at load
  uint64_t usedClusters;  // at load
  uint32_t bytesPerCluster;
  uint32_t padding2;
};

static_assert(sizeof(VolumeInfo) == 248, "VolumeInfo crosses the library boundary");
static_assert(offsetof(VolumeInfo, fileSystem) == 0);
static_assert(offsetof(VolumeInfo, totalSizeText) == 10);
static_assert(offsetof(VolumeInfo, usedSizeText) == 110);
static_assert(offsetof(VolumeInfo, clustersPerCell) == 216);
static_assert(offsetof(VolumeInfo, freeClusters) == 224);
static_assert(offsetof(VolumeInfo, usedClusters) == 232);
static_assert(offsetof(VolumeInfo, bytesPerCluster) == 240);
