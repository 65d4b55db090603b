#include "reports/report_pages.h"

#include <optional>

#include "reports/html_escape.h"
#include "reports/report_files.h"
#include "reports/report_markers.h"
#include "reports/report_percentage.h"

namespace dravik {
namespace {

std::string page_name(const std::string& application_folder, const char* stem, int page_number) {
  return application_folder + stem + std::to_string(page_number) + ".html";
}

// Figures both pages put first: sizes and the walk's counts.
void fill_sizes_and_counts(std::string& table, const volume_figures& volume,
                           const walk_figures& walk) {
  replace_marker(table, "<!--totalsize-->", html_escaped(volume.total_size_text));
  replace_marker(table, "<!--usedsize-->", html_escaped(volume.used_size_text));
  replace_marker(table, "<!--scanneddirectories-->", std::to_string(walk.directories_scanned));
  replace_marker(table, "<!--scannedfiles-->", std::to_string(walk.files_scanned));
}

// Figures both pages put last: the volume and the times of the run.
void fill_volume_and_times(std::string& table, const report_strings& strings,
                           const volume_figures& volume) {
  std::string partition = html_escaped(std::string_view(&volume.letter, 1));
  partition += ":\\";
  replace_marker(table, "<!--partition-->", partition);
  replace_marker(table, "<!--filesystem-->", html_escaped(volume.file_system_name));
  replace_marker(table, "<!--totalclusters-->",
                 std::to_string(volume.free_clusters + volume.used_clusters));
  replace_marker(table, "<!--usedclusters-->", std::to_string(volume.used_clusters));
  replace_marker(table, "<!--bytepercluster-->", std::to_string(volume.bytes_per_cluster));
  replace_marker(table, "<!--startingtime-->", strings.start_time_text);
  replace_marker(table, "<!--finishingtime-->", strings.finish_time_text);
  replace_marker(table, "<!--usedtime-->", strings.used_time_text);
}

void write_volume_page(const std::string& template_path, const std::string& page_path,
                       const std::string& table) {
  std::optional<std::string> page = read_report_template(template_path);
  if (!page) return;
  replace_marker(*page, "<!--table-->", table);
  write_report_page(page_path, *page);
}

}  // namespace

void write_analysis_page(report_strings& strings, const std::string& application_folder,
                         int page_number, const volume_figures& volume, const walk_figures& walk,
                         std::int32_t recency_state, int fragmentation_cells,
                         std::string& fragmentation_text) {
  strings.volume_report_table = strings.analysis_summary_block;
  std::string& table = strings.volume_report_table;

  fill_sizes_and_counts(table, volume, walk);
  replace_marker(table, "<!--smallfragmentfiles-->", std::to_string(walk.small_fragment_files));

  if (recency_state == 1) {
    // Defragmented less than two days ago: the rows of this walk are dropped.
    fragmentation_text = "0.00%";
    replace_marker(table, "<!--fragmentfiles-->", "0");
    replace_marker(table, "<!--percentageoffragment-->", "不需要对此分卷进行碎片整理.");
    replace_marker(table, "<!--fragmentlist-->", "");
  } else {
    replace_marker(table, "<!--fragmentfiles-->", std::to_string(walk.big_fragment_files));
    const std::string percentage = fragmentation_percentage(fragmentation_cells);
    std::string verdict;
    if ((!strings.fragment_rows.empty() && percentage == "0.00%") || walk.big_fragment_files == 0) {
      fragmentation_text = "Low";
      verdict = "碎片占用百分比低";
    } else {
      fragmentation_text = percentage;
      verdict = "碎片占用百分比为 " + percentage;
    }
    replace_marker(table, "<!--percentageoffragment-->", verdict);
    replace_marker(table, "<!--fragmentlist-->", strings.fragment_rows);
  }

  fill_volume_and_times(table, strings, volume);
  write_volume_page(application_folder + "analysisreportmodel.html",
                    page_name(application_folder, "analysisreport", page_number), table);
}

void write_defrag_page(report_strings& strings, const std::string& application_folder,
                       int page_number, const volume_figures& volume, const walk_figures& walk,
                       const std::string& fragmentation_text, bool with_optimisation) {
  strings.volume_report_table = strings.defrag_summary_block;
  std::string& table = strings.volume_report_table;

  fill_sizes_and_counts(table, volume, walk);
  replace_marker(table, "<!--fragmentfiles-->", std::to_string(walk.big_fragment_files));
  const bool low = !strings.fragment_rows.empty() && fragmentation_text == "0.00%";
  replace_marker(table, "<!--fragmentationbefore-->",
                 low ? std::string("Low") : html_escaped(fragmentation_text));
  fill_volume_and_times(table, strings, volume);
  replace_marker(table, "<!--fragmentlist-->", strings.fragment_rows);

  if (with_optimisation) {
    std::string optimisation = strings.optimize_details_block;
    replace_marker(optimisation, "<!--optimizelist-->", strings.optimize_rows);
    replace_marker(table, "<!--optimize-->", optimisation);
  }

  write_volume_page(application_folder + "defragreportmodel.html",
                    page_name(application_folder, "defragreport", page_number), table);
}

}  // namespace dravik
