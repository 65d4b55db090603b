#pragma once
// The analysis of one volume of a job: what the analysis worker does for each
// letter of the job's drive-letter string once it has counted the letter's
// page number and made the letter current.

#include "engine_state.h"

namespace dravik {

// For a volume with a map (an open volume handle): adds its header cell to
// the index page's cells, clears its 1000 cells, reads its bitmap (a failed
// read ends here: no page, the header cell stays), finds its free runs and
// its longest one, empties its file lists, takes its recency from
// "defragdate", walks its tree with the variant its file system and used
// size call for, and writes "analysisreport<page_number>.html". A letter
// without a map is passed over. The walk ends early on a stop; the page is
// written all the same. Sets the context's working slot, bytes per cluster,
// progress pair and the engine's recency_state for the volume.
//
// Runs on the analysis worker's thread while no other worker runs; never
// throws (a failed allocation ends the volume's analysis without a page).
void analyse_volume(engine_state& engine, char letter, int page_number) noexcept;

}  // namespace dravik
