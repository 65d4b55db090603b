#pragma once
// The job record: what a job covers and how far it has come.

#include <cstdint>
#include <string>

namespace tessarel {

struct volume_job {
  // The checked drive letters in list order (C and D checked give "CD"), or
  // the command line without blanks.
  std::wstring letters;
  // 1 when the Registry row is checked.
  uint8_t registry = 0;
  // 0 not started, 1 registry phase, 2 volume phase, 3 done.
  int32_t phase = 0;

  bool operator==(const volume_job& other) const {
    return letters == other.letters && registry == other.registry && phase == other.phase;
  }
};

}  // namespace tessarel
