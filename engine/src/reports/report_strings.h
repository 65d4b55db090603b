#pragma once
// The texts the report writer keeps between its steps. The engine state
// holds one of these; the worker that runs (or the registry report) is its
// only user at any time, so it needs no lock.

#include <cstdint>
#include <string>

namespace dravik {

struct report_strings {
  // Header cells of the next index page; reset at the start of each worker.
  std::string partition_list;
  // The block of the volume page being filled.
  std::string volume_report_table;
  // Rows of the current volume's file table and optimisation table; the
  // workers empty them before a volume's walk and its optimisation pass.
  std::string fragment_rows;
  std::string optimize_rows;

  // The four built-in tables, set once by build_report_blocks and then only
  // copied.
  std::string analysis_summary_block;
  std::string defrag_summary_block;
  std::string optimize_details_block;
  std::string registry_details_block;

  // The registry block being filled.
  std::string registry_report_block;

  // Times of the current volume run: seconds since 1970 (UTC) and their texts.
  std::int64_t start_instant = 0;
  std::int64_t finish_instant = 0;
  std::string start_time_text;
  std::string finish_time_text;
  std::string used_time_text;
};

// Empties every report string and sets the four built-in blocks. Runs once
// while the engine state is built at load.
void build_report_blocks(report_strings& strings);

}  // namespace dravik
