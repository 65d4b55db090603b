#pragma once
// What the defragmentation worker does for one volume of the job.

#include <cstdint>
#include <string>

#include "analysis/analysis_volume.h"
#include "defrag/move_work.h"
#include "defrag/optimize_set.h"

namespace dravik {

// What the defragmentation of a volume works with: references into the
// engine's records, handed over by the defragmentation worker.
// Defragmentation worker only.
struct defrag_volume_records {
  job_control& job;  // run_mode, current_letter_text, stop_requested; the slot it sets
  status_feed& status;
  volume_tables& volumes;
  volume_work& work;
  extent_buffer& extents;
  cell_cursor& cursor;
  move_work& mover;
  walk_state& walk;
  report_strings& reports;
  optimize_map& optimize_set;  // recorded and emptied per volume
  const option_values& options;  // the folder exclusions
  const std::string& application_folder;
};

// A letter of the job as the defragmentation worker hands it on: the same
// letter, slot and page number as the analysis had.
using defrag_turn = analysis_turn;

// A volume is defragmented only with at least this much free space, by the
// free-cluster count taken at load.
constexpr uint64_t least_free_bytes_to_defragment = 52428800;

// bytes_per_cluster x free_clusters (in 64 bits) is at least
// least_free_bytes_to_defragment.
bool has_room_to_defragment(uint32_t bytes_per_cluster, uint64_t free_clusters) noexcept;

// The message a volume without room gets, letter_text in its place (code
// page 936 bytes).
std::string free_space_message(const std::string& letter_text);

// For a volume with a map: a volume without room gets the free-space message
// in a modal box (this thread waits for it) and nothing else. Otherwise: its
// header cell on the index page, its bitmap read for the cell geometry (a
// failed read ends here: no page, the header cell stays), the walk with the
// movers of its variant, then, unless a stop interrupted the job, its date in
// "defragdate" (when that file exists) and in run mode 2 the optimisation
// pass; last "defragreport<page_number>.html" (with the optimisation table
// only in an optimised run that was not interrupted). Sets the job's working
// slot, bytes per cluster and recency_state and the status feed's progress
// pair for the volume. The recorded optimisation entries are gone
// when it returns.
//
// Runs on the defragmentation worker's thread, after current_letter_text and
// current_slot have been set for the letter. Never throws: a failed
// allocation ends the volume without a page.
void defrag_volume(const defrag_volume_records& records, const defrag_turn& turn) noexcept;

}  // namespace dravik
