#pragma once
// The phase step of a job record: registry first when it is checked, then
// the volumes when there are letters, then done. Pure; any thread.

#include <cstdint>

#include "job/volume_job.h"

namespace tessarel {

constexpr int32_t phase_not_started = 0;
constexpr int32_t phase_registry = 1;
constexpr int32_t phase_volumes = 2;
constexpr int32_t phase_done = 3;

// Steps job.phase to the next phase the job has work for: from 0 to 1 when
// the registry flag is set, else to 2 when there are letters, else to 3;
// from 1 to 2 or 3; from 2, 3 or any other value to 3.
void advance(volume_job& job);

// The phase advance would step to; the record is left as it is.
int32_t peek_next_phase(const volume_job& job);

}  // namespace tessarel
