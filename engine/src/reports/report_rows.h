#pragma once
// One table row per file (or registry issue) as the workers meet them. Every
// value is escaped, so the row shows the name as it is.

#include <cstdint>
#include <string>
#include <string_view>

#include "reports/report_strings.h"

namespace dravik {

// A file the analysis lists for defragmentation, appended to fragment_rows:
// path, extent count, size in KB (bytes / 1024 + 1, so 0 bytes shows 1 KB),
// clusters, and the advice "Defragment".
void append_analysis_row(report_strings& strings, std::string_view path, std::uint32_t extent_count,
                         std::uint64_t file_bytes, std::uint64_t clusters);

// A file the defragmentation moved, appended to fragment_rows: the same first
// four cells (the extent count before the move), then "0" fragments now.
void append_defrag_row(report_strings& strings, std::string_view path, std::uint32_t extent_count,
                       std::uint64_t file_bytes, std::uint64_t clusters);

// A file the optimisation pass moved, appended to optimize_rows: its old and
// new cluster ranges, first to first + clusters - 1.
void append_optimize_row(report_strings& strings, std::string_view path,
                         std::uint64_t old_first_cluster, std::uint64_t new_first_cluster,
                         std::uint64_t clusters);

// One open registry issue; the texts are in the ANSI code page.
std::string registry_row(std::string_view key_path, std::string_view value_name,
                         std::string_view data, std::string_view problem);

}  // namespace dravik
