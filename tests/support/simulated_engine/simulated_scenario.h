#pragma once
// The volumes the simulated build of the engine shows, the same on every
// run (fixed seeds):
//   C:  NTFS, the system volume: System32, pagefile.sys, fragmented files
//       and free space partly in gaps, well over 50 MB free;
//   D:  NTFS, nearly full: less than 50 MB (52,428,800 bytes) free, too
//       full to defragment;
//   E:  FAT32, with fragmented files.

#include <cstdint>

#include "simulated_volume/simulated_volume.h"

namespace dravik::sim {

// The free space a volume needs before the engine defragments it.
constexpr uint64_t scenario_room_to_defragment = 52428800;

// Adds C:, D: and E: as fixed drives. Throws std::invalid_argument when sim
// has one of those letters already. Takes a few hundred milliseconds.
void add_scenario_volumes(simulated_volume& sim);

}  // namespace dravik::sim
