#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "reports/report_index.h"
#include "reports/report_pages.h"
#include "reports/report_rows.h"
#include "report_templates.h"
#include "scratch_folder/scratch_folder.h"
#include "reports/report_time.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

// The block with each marker replaced by its expected value; every marker
// must be there once.
std::string filled(std::string block,
                   const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [marker, value] : values) {
    const auto at = block.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    if (at != std::string::npos) block.replace(at, marker.size(), value);
  }
  return block;
}

const std::int64_t start = 1800000000;
const std::int64_t finish = start + 25 * 3600 + 3 * 60 + 4;  // a run of over a day

const volume_figures volume_d{'D', "NTFS", "465.7 GB", "12.3 GB", 4096, 3000000, 119000000};
const walk_figures walk_d{120, 4500, 2, 7};

class ReportPages : public ::testing::Test {
 protected:
  void SetUp() override {
    write_test_templates(folder);
    build_report_blocks(strings);
  }
  std::vector<std::string> pages() const {
    std::vector<std::string> names = folder.files();
    names.erase(
        std::remove_if(names.begin(), names.end(),
                       [](const std::string& n) { return n.find("model") != std::string::npos; }),
        names.end());
    std::sort(names.begin(), names.end());
    return names;
  }

  scratch_folder folder;
  report_strings strings;
  std::atomic<std::int32_t> registry_report_present{0};
};

// An analysis job over "CD" where C has no open volume: C still takes page
// number 1, D writes analysisreport2.html and the index's only cell. Catches
// wrong figures, markers left or swapped, rows lost, N not advanced, and a
// used time that counts whole days.
TEST_F(ReportPages, AnalysisJobWritesVolumePageAndIndex) {
  begin_report_set(strings, registry_report_present);
  add_volume_index_cell(strings, report_kind::analysis, 2, 'D');
  strings.fragment_rows.clear();
  mark_start_time(strings, start);
  append_analysis_row(strings, "D:\\big.iso", 12, 5000, 2);
  append_analysis_row(strings, "D:\\b&w.avi", 20, 1048576, 256);
  mark_finish_time(strings, finish);
  const std::string rows = strings.fragment_rows;
  std::string fragmentation_text;
  write_analysis_page(strings, folder.path(), 2, volume_d, walk_d, 2, 123, fragmentation_text);
  write_analysis_index(strings, folder.path());

  EXPECT_EQ(pages(), (std::vector<std::string>{"analysisreport2.html", "analysisreporttop.html"}));
  EXPECT_EQ(fragmentation_text, "12.30%");
  EXPECT_EQ(folder.read("analysisreport2.html"),
            "<html>\r\n" +
                filled(strings.analysis_summary_block,
                       {{"<!--partition-->", "D:\\"},
                        {"<!--filesystem-->", "NTFS"},
                        {"<!--totalsize-->", "465.7 GB"},
                        {"<!--usedsize-->", "12.3 GB"},
                        {"<!--totalclusters-->", "122000000"},
                        {"<!--usedclusters-->", "3000000"},
                        {"<!--bytepercluster-->", "4096"},
                        {"<!--scanneddirectories-->", "120"},
                        {"<!--scannedfiles-->", "4500"},
                        {"<!--smallfragmentfiles-->", "7"},
                        {"<!--fragmentfiles-->", "2"},
                        {"<!--startingtime-->", format_report_time(start)},
                        {"<!--finishingtime-->", format_report_time(finish)},
                        {"<!--usedtime-->", "01:03:04"},
                        {"<!--percentageoffragment-->", "碎片占用百分比为 12.30%"},
                        {"<!--fragmentlist-->", rows}}) +
                "\r\n</html>");
  EXPECT_EQ(folder.read("analysisreporttop.html"),
            "<tr><td class=header width=50><a href=analysisreport2.html target=mainFrame>D:\\</a>"
            "</td></tr>");
}

// Catches a wrong verdict branch: a recently defragmented volume drops its
// rows; no big fragment file, or rows with a 0.00% map, read as "Low".
TEST_F(ReportPages, AnalysisVerdictFollowsRecencyRowsAndPercentage) {
  const struct {
    std::int32_t recency;
    bool rows;
    std::int32_t big;
    int cells;
    const char* verdict;
    const char* fragmentation_text;
    const char* fragment_files;
  } cases[] = {
      {1, true, 3, 500, "不需要对此分卷进行碎片整理.", "0.00%", "0"},
      {2, false, 0, 50, "碎片占用百分比低", "Low", "0"},
      {0, true, 2, 0, "碎片占用百分比低", "Low", "2"},
      {2, false, 3, 0, "碎片占用百分比为 0.00%", "0.00%", "3"},
      {2, true, 1, 1, "碎片占用百分比为 0.10%", "0.10%", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.verdict);
    strings.fragment_rows.clear();
    if (c.rows) append_analysis_row(strings, "D:\\f.dat", 11, 1, 1);
    std::string fragmentation_text = "stale";
    write_analysis_page(strings, folder.path(), 1, volume_d, walk_figures{1, 1, c.big, 0},
                        c.recency, c.cells, fragmentation_text);
    const std::string page = folder.read("analysisreport1.html").value_or("");
    EXPECT_EQ(fragmentation_text, c.fragmentation_text);
    EXPECT_NE(
        page.find(std::string("Report :</div></TD><TD class=foot align=left><div align=left> ") +
                  c.verdict + " </div>"),
        std::string::npos);
    EXPECT_NE(page.find(std::string("Big Fragment files :</div></TD><TD class=foot align=left>"
                                    "<div align=left> ") +
                        c.fragment_files + " </div>"),
              std::string::npos);
    const bool rows_shown = page.find("D:\\f.dat") != std::string::npos;
    EXPECT_EQ(rows_shown, c.rows && c.recency != 1);
  }
}

// A defragmentation and optimisation job after a registry scan: the index
// starts with the Registry cell, the page carries the optimisation table.
TEST_F(ReportPages, OptimisedDefragJobWritesBothTables) {
  registry_report_present = 1;
  begin_report_set(strings, registry_report_present);
  add_volume_index_cell(strings, report_kind::defrag, 2, 'E');
  strings.fragment_rows.clear();
  mark_start_time(strings, start);
  append_defrag_row(strings, "E:\\movie.mkv", 30, 700000000, 170899);
  strings.optimize_rows.clear();
  append_optimize_row(strings, "E:\\a.dat", 1000, 40, 8);
  mark_finish_time(strings, start + 61);
  const std::string rows = strings.fragment_rows;
  const std::string optimisation =
      filled(strings.optimize_details_block, {{"<!--optimizelist-->", strings.optimize_rows}});
  const volume_figures volume_e{'E', "FAT32", "0.9 GB", "0.5 GB", 512, 1000000, 900000};
  write_defrag_page(strings, folder.path(), 2, volume_e, walk_figures{3, 40, 1, 0}, "12.30%", true);
  write_defrag_index(strings, folder.path());

  EXPECT_EQ(folder.read("defragreport2.html"),
            "<html>defrag" +
                filled(strings.defrag_summary_block,
                       {{"<!--partition-->", "E:\\"},
                        {"<!--filesystem-->", "FAT32"},
                        {"<!--totalsize-->", "0.9 GB"},
                        {"<!--usedsize-->", "0.5 GB"},
                        {"<!--totalclusters-->", "1900000"},
                        {"<!--usedclusters-->", "1000000"},
                        {"<!--bytepercluster-->", "512"},
                        {"<!--scanneddirectories-->", "3"},
                        {"<!--scannedfiles-->", "40"},
                        {"<!--fragmentfiles-->", "1"},
                        {"<!--fragmentationbefore-->", "12.30%"},
                        {"<!--startingtime-->", format_report_time(start)},
                        {"<!--finishingtime-->", format_report_time(start + 61)},
                        {"<!--usedtime-->", "00:01:01"},
                        {"<!--fragmentlist-->", rows},
                        {"<!--optimize-->", optimisation}}) +
                "</html>");
  EXPECT_EQ(folder.read("defragreporttop.html"),
            "<tr class=d><td class=header width=100><a href=registryreport.html target=mainFrame>"
            "Registry</a></td><td class=header width=50><a href=defragreport2.html "
            "target=mainFrame>E:\\</a></td></tr>");
}

// Catches "Fragment before" ignoring the moved rows, and an optimisation
// table (or its marker lost) in a plain defragmentation.
TEST_F(ReportPages, PlainDefragKeepsOptimizeMarkerAndShowsFragmentBefore) {
  const struct {
    bool rows;
    const char* analysed;
    const char* before;
  } cases[] = {{true, "0.00%", "Low"},
               {false, "0.00%", "0.00%"},
               {true, "Low", "Low"},
               {true, "7.20%", "7.20%"}};
  for (const auto& c : cases) {
    strings.fragment_rows.clear();
    if (c.rows) append_defrag_row(strings, "C:\\x", 11, 1, 1);
    write_defrag_page(strings, folder.path(), 1, volume_d, walk_d, c.analysed, false);
    const std::string page = folder.read("defragreport1.html").value_or("");
    EXPECT_NE(page.find(std::string("<div align=left> ") + c.before + " </div>"), std::string::npos)
        << c.analysed;
    EXPECT_NE(page.find("</TBODY></TABLE><!--optimize--></html>"), std::string::npos);
  }
}

// Catches a volume name or file system name that injects markup.
TEST_F(ReportPages, VolumeFiguresAreEscaped) {
  const volume_figures odd{'<', "F\"S&", "1.0 GB", "0.5 GB", 4096, 1, 1};
  begin_report_set(strings, registry_report_present);
  add_volume_index_cell(strings, report_kind::analysis, 1, '<');
  std::string fragmentation_text;
  write_analysis_page(strings, folder.path(), 1, odd, walk_d, 0, 0, fragmentation_text);
  const std::string page = folder.read("analysisreport1.html").value_or("");
  EXPECT_NE(page.find("> &lt;:\\ <"), std::string::npos);
  EXPECT_NE(page.find("> F&quot;S&amp; <"), std::string::npos);
  EXPECT_NE(strings.partition_list.find(">&lt;:\\</a>"), std::string::npos);
}

// A missing template or an unwritable page skips that page: no crash, no
// half-written or temporary file, an older page left as it was.
TEST_F(ReportPages, MissingTemplateOrUnwritablePageIsSkipped) {
  DeleteFileA((folder.path() + "analysisreportmodel.html").c_str());
  DeleteFileA((folder.path() + "defragreporttopmodel.html").c_str());
  std::string fragmentation_text;
  write_analysis_page(strings, folder.path(), 1, volume_d, walk_d, 2, 10, fragmentation_text);
  write_defrag_index(strings, folder.path());
  EXPECT_EQ(pages(), std::vector<std::string>{});
  EXPECT_EQ(fragmentation_text, "1.00%");

  // A page held open without sharing (a browser still reading it) cannot be
  // replaced.
  folder.write("defragreport1.html", "older page");
  const HANDLE held = CreateFileA((folder.path() + "defragreport1.html").c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  write_defrag_page(strings, folder.path(), 1, volume_d, walk_d, "Low", false);
  CloseHandle(held);
  EXPECT_EQ(folder.read("defragreport1.html"), "older page");
  EXPECT_EQ(pages(), std::vector<std::string>{"defragreport1.html"});
}

}  // namespace
}  // namespace dravik::testing
