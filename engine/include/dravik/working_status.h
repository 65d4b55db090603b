#pragma once
// The engine's status record, as DLL_GetWorkingStatus returns it to the
// program. Its layout is part of the library's interface.

#include <cstddef>
#include <cstdint>

namespace dravik {

// WorkingStatus::state values.
constexpr int32_t working_idle = 0;  // or the current volume has no map
constexpr int32_t working_analysing = 1;
constexpr int32_t working_defragmenting = 2;
constexpr int32_t working_optimising = 3;

}  // namespace dravik

struct WorkingStatus {
  int32_t state;
  char volume;          // the drive letter the worker is on, 0 when none
  char itemName[507];   // name (not path) of the entry the walk examined last
  uint64_t totalUnits;  // progress bar total
  uint64_t doneUnits;   // progress so far
  // Source and target cluster of the move in progress, one larger on every
  // poll; meaningful in states 2 and 3 only.
  uint64_t moveFrom;
  uint64_t moveTo;
};

static_assert(sizeof(WorkingStatus) == 544, "WorkingStatus crosses the library boundary");
static_assert(offsetof(WorkingStatus, state) == 0);
static_assert(offsetof(WorkingStatus, volume) == 4);
static_assert(offsetof(WorkingStatus, itemName) == 5);
static_assert(offsetof(WorkingStatus, totalUnits) == 512);
static_assert(offsetof(WorkingStatus, doneUnits) == 520);
static_assert(offsetof(WorkingStatus, moveFrom) == 528);
static_assert(offsetof(WorkingStatus, moveTo) == 536);
