#pragma once
// A bare walk over a volume through the seam, making per file the calls the
// engine's analysis makes: FindFirstFileA/FindNextFileA over "X:\dir\*",
// CreateFileA with no access and no sharing, FSCTL_GET_RETRIEVAL_POINTERS
// from VCN 0 into one buffer that grows by 3,200 bytes on ERROR_MORE_DATA,
// CloseHandle. It keeps no per-file state: the floor for the analysis.

#include <cstdint>

#include "platform/volume_io.h"

namespace dravik::sim {

struct walk_totals {
  uint64_t folders = 0;  // entered
  uint64_t files = 0;    // listed
  uint64_t opened = 0;
  uint64_t without_clusters = 0;  // ERROR_HANDLE_EOF
  uint64_t extents = 0;
  uint64_t virtual_extents = 0;
  uint64_t clusters = 0;      // real ones
  uint64_t refused = 0;       // opens that failed
  uint64_t unreadable = 0;    // folders whose search failed
  uint64_t buffer_bytes = 0;  // the extent buffer at the end
};

walk_totals walk_volume(volume_io& io, char letter);

}  // namespace dravik::sim
