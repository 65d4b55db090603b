#pragma once
// What the analysis worker does for one volume of the job.

#include <array>
#include <cstdint>
#include <string>

#include "cells/cell_file_lists.h"
#include "cells/cell_updates.h"
#include "reports/report_strings.h"
#include "state/job_control.h"
#include "state/option_values.h"
#include "state/status_feed.h"
#include "state/volume_tables.h"
#include "state/walk_state.h"
#include "volume/file_extents.h"
#include "volume/volume_work.h"

namespace dravik {

// What the analysis of a volume works with: references into the engine's
// records, handed over by the analysis worker. Analysis worker only.
struct analysis_volume_records {
  job_control& job;  // working_slot, bytes_per_cluster, recency_state, stop_requested
  status_feed& status;
  volume_tables& volumes;
  std::array<slot_file_lists, slot_count>& file_lists;
  volume_work& work;
  extent_buffer& extents;
  cell_cursor& cursor;
  walk_state& walk;
  report_strings& reports;
  const option_values& options;  // the exclusion lists
  const std::string& application_folder;
};

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
// is written all the same. Sets the job's working slot, bytes per cluster and
// recency_state and the status feed's progress pair for the volume.
//
// Runs on the analysis worker's thread, after current_letter_text and
// current_slot have been set for the letter, while no other worker runs.
// Never throws: a failed allocation ends the volume's analysis without a
// page.
void analyse_volume(const analysis_volume_records& records, const analysis_turn& turn) noexcept;

}  // namespace dravik
