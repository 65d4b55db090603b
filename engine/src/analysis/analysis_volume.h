#pragma once
// What the analysis worker does for one volume of the job.

#include <cstdint>

namespace dravik {

struct engine_state;

// One letter of the job as the analysis worker hands it on.
struct analysis_turn {
  char letter;       // as it stands in the job's letter string
  int32_t slot;      // slot_of_letter(letter)
  int page_number;   // 1-based position in the letter string: "analysisreport<n>.html"
};

// For a volume with a map (an open volume handle; a slot without one is
// passed over): adds its header cell to the index page's cells, clears its
// 1000 cells, reads its bitmap (a failed read ends here: no page, the header
// cell stays), finds its free runs and the longest one, empties its file
// lists, takes its recency from "defragdate", walks its tree with the
// variant its file system and used size call for, and writes
// "analysisreport<page_number>.html". The walk ends early on a stop; the page
// is written all the same. Sets the context's working slot, bytes per
// cluster and progress pair and the engine's recency_state for the volume.
//
// Runs on the analysis worker's thread, after current_letter_text and
// current_slot have been set for the letter, while no other worker runs.
// Never throws: a failed allocation ends the volume's analysis without a
// page.
void analyse_volume(engine_state& engine, const analysis_turn& turn) noexcept;

}  // namespace dravik
