#include "job/job_phase.h"

namespace tessarel {

void advance(volume_job& job) {
  if (job.phase == phase_not_started) {
    job.phase = phase_registry;
    if (job.registry) return;
  }
  if (job.phase == phase_registry) {
    job.phase = phase_volumes;
    if (!job.letters.empty()) return;
  }
  job.phase = phase_done;
}

int32_t peek_next_phase(const volume_job& job) {
  volume_job copy = job;
  advance(copy);
  return copy.phase;
}

}  // namespace tessarel
