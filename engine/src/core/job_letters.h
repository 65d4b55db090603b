#pragma once
// The letters of the running job, as both workers take them.

#include <cstdint>
#include <cstring>
#include <string>

#include "core/engine_state.h"
#include "state/volume_slots.h"

namespace dravik {

// Takes the job's letters in order until a stop is requested. For each it
// sets the status letter and the current slot, and numbers it: every letter
// takes a page number, also one whose volume has no map, so page n always
// belongs to the n-th letter of the job. visit(letter, slot, page_number) is
// called for the letters whose volume has a map. Worker thread only.
template <class Visit>
void for_each_job_letter(engine_state& engine, Visit&& visit) {
  job_control& job = engine.job;
  int page_number = 0;
  const size_t letter_count = strnlen(job.volume_letters, sizeof job.volume_letters);
  for (size_t position = 0; position < letter_count && job.stop_requested == 0; ++position) {
    const char letter = job.volume_letters[position];
    ++page_number;
    job.current_letter_text.set(std::string(1, letter));
    const int32_t slot = slot_of_letter(static_cast<unsigned char>(letter));
    job.current_slot = slot;
    if (slot_has_map(engine.volumes, slot)) visit(letter, slot, page_number);
  }
}

}  // namespace dravik
