#include "reports/report_index.h"

#include "reports/html_escape.h"
#include "reports/report_files.h"
#include "reports/report_markers.h"

namespace dravik {

std::string registry_index_cell() {
  return "<td class=header width=100><a href=registryreport.html target=mainFrame>"
         "Registry</a></td>";
}

std::string volume_index_cell(report_kind kind, int page_number, char letter) {
  std::string cell = kind == report_kind::analysis
                         ? "<td class=header width=50><a href=analysisreport"
                         : "<td class=header width=50><a href=defragreport";
  cell += std::to_string(page_number);
  cell += ".html target=mainFrame>";
  append_html_escaped(cell, std::string_view(&letter, 1));
  cell += ":\\</a></td>";
  return cell;
}

void begin_report_set(report_strings& strings,
                      const std::atomic<std::int32_t>& registry_report_present) {
  strings.partition_list = registry_report_present.load() != 0 ? registry_index_cell() : "";
}

void add_volume_index_cell(report_strings& strings, report_kind kind, int page_number,
                           char letter) {
  strings.partition_list += volume_index_cell(kind, page_number, letter);
}

void write_index_page(report_kind kind, const std::string& application_folder,
                      const std::string& cells) {
  const bool analysis = kind == report_kind::analysis;
  std::optional<std::string> page =
      read_report_template(application_folder + (analysis ? "analysisreporttopmodel.html"
                                                          : "defragreporttopmodel.html"));
  if (!page) return;
  replace_marker(*page, "<!--partitionlist-->", cells);
  write_report_page(
      application_folder + (analysis ? "analysisreporttop.html" : "defragreporttop.html"), *page);
}

void write_analysis_index(const report_strings& strings, const std::string& application_folder) {
  write_index_page(report_kind::analysis, application_folder, strings.partition_list);
}

void write_defrag_index(const report_strings& strings, const std::string& application_folder) {
  write_index_page(report_kind::defrag, application_folder, strings.partition_list);
}

}  // namespace dravik
