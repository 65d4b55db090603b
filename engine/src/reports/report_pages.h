#pragma once
// The per-volume pages: "analysisreport<n>.html" after a volume's analysis,
// "defragreport<n>.html" after its defragmentation, n being the volume's
// 1-based position in the job's drive-letter string.
//
// A worker's use, per volume: empty fragment_rows, mark_start_time, walk
// (append_analysis_row / append_defrag_row; in an optimised run empty
// optimize_rows and append_optimize_row), mark_finish_time, then the write
// below. Called on the worker's thread only.

#include <cstdint>
#include <string>

#include "reports/report_strings.h"

namespace dravik {

// The volume's facts as the engine took them at load.
struct volume_figures {
  char letter = 0;
  std::string file_system_name;
  std::string total_size_text;  // such as "12.3 GB"
  std::string used_size_text;
  std::uint32_t bytes_per_cluster = 0;
  std::uint64_t used_clusters = 0;
  std::uint64_t free_clusters = 0;
};

// What the walk counted on the volume.
struct walk_figures {
  std::uint64_t directories_scanned = 0;
  std::uint64_t files_scanned = 0;
  std::int32_t big_fragment_files = 0;    // listed files; moved files when defragmenting
  std::int32_t small_fragment_files = 0;  // fragmented files with 10 extents or fewer
};

// The analysis page. recency_state is the one the worker computed for this
// volume (1: defragmented less than two days ago, so nothing is reported as
// fragmented); fragmentation_cells comes from count_fragmentation_cells over
// the volume's map. Sets fragmentation_text (the slot's) to "0.00%", "Low" or
// the percentage, for the defragmentation page that may follow. A missing
// template or an unwritable page skips the page.
void write_analysis_page(report_strings& strings, const std::string& application_folder,
                         int page_number, const volume_figures& volume, const walk_figures& walk,
                         std::int32_t recency_state, int fragmentation_cells,
                         std::string& fragmentation_text);

// The defragmentation page. fragmentation_text is the slot's text as this
// job's analysis left it; with_optimisation (an optimised run that was not
// interrupted) adds the optimisation table of optimize_rows.
void write_defrag_page(report_strings& strings, const std::string& application_folder,
                       int page_number, const volume_figures& volume, const walk_figures& walk,
                       const std::string& fragmentation_text, bool with_optimisation);

}  // namespace dravik
