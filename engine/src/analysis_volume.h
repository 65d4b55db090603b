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

// Analyses the volume of turn, whose slot has a map: its index cell, cells,
// bitmap and free runs, file lists, progress, walk and page. Runs on the
// analysis worker's thread after current_letter_text and current_slot have
// been set for the letter; it tests stop_requested as it walks.
void analyse_volume(engine_state& engine, const analysis_turn& turn);

}  // namespace dravik
