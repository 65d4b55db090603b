#include "reports/report_rows.h"

#include "reports/html_escape.h"

namespace dravik {
namespace {

// The four cells the analysis and defragmentation rows share, without the
// closing of the fourth.
void append_file_cells(std::string& rows, std::string_view path, std::uint32_t extent_count,
                       std::uint64_t file_bytes, std::uint64_t clusters) {
  rows += "<TR><TD class=foot><div align=left>";
  append_html_escaped(rows, path);
  rows += "</div></TD><TD class=foot ><div align=center>";
  rows += std::to_string(extent_count);
  rows += "</div></TD><TD class=foot><div align=center>";
  rows += std::to_string(file_bytes / 1024 + 1);
  rows += " KB</div></TD><TD class=foot><div align=center>";
  rows += std::to_string(clusters);
}

std::string cluster_range(std::uint64_t first, std::uint64_t clusters) {
  return std::to_string(first) + " - " + std::to_string(first + clusters - 1);
}

}  // namespace

void append_analysis_row(report_strings& strings, std::string_view path, std::uint32_t extent_count,
                         std::uint64_t file_bytes, std::uint64_t clusters) {
  append_file_cells(strings.fragment_rows, path, extent_count, file_bytes, clusters);
  strings.fragment_rows += "</div></TD><TD class=foot><div align=center>Defragment</div></TD></TR>";
}

void append_defrag_row(report_strings& strings, std::string_view path, std::uint32_t extent_count,
                       std::uint64_t file_bytes, std::uint64_t clusters) {
  append_file_cells(strings.fragment_rows, path, extent_count, file_bytes, clusters);
  strings.fragment_rows += "</div></TD><TD class=foot><div align=center>0</div></TD></TR>";
}

void append_optimize_row(report_strings& strings, std::string_view path,
                         std::uint64_t old_first_cluster, std::uint64_t new_first_cluster,
                         std::uint64_t clusters) {
  std::string& rows = strings.optimize_rows;
  rows += "<TR><TD class=foot width=50%><div align=left>";
  append_html_escaped(rows, path);
  rows += "</div></TD><TD class=foot width=21%><div align=center>";
  rows += cluster_range(old_first_cluster, clusters);
  rows += "</div></TD><TD class=foot width=21%><div align=center>";
  rows += cluster_range(new_first_cluster, clusters);
  rows += "</div></TD><TD class=foot width=8%><div align=center>Sequence</div></TD></TR>";
}

std::string registry_row(std::string_view key_path, std::string_view value_name,
                         std::string_view data, std::string_view problem) {
  std::string row = "<TR> <TD class=content width=39%><div align=left>";
  append_html_escaped(row, key_path);
  row += "</div></TD><TD class=content width=19% align=middle><div align=left>";
  append_html_escaped(row, value_name);
  row += "</div></TD> <TD class=content width=19%><div align=left>";
  append_html_escaped(row, data);
  row += "</div></TD><TD width=23% class=content><div align=left>";
  append_html_escaped(row, problem);
  row += "</div></TD></TR>";
  return row;
}

}  // namespace dravik
