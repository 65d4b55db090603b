#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "reports/report_index.h"
#include "reports/report_pages.h"
#include "report_templates.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

// The templates and report-set pages as the build ships them.
std::string shipped(const std::string& name) {
  std::ifstream in(std::string(TESSAREL_TEST_APP_DIR) + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t occurrences(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

// Catches a template without the marker the engine fills (an empty page), a
// list marker outside a table row, or a page that does not declare the code
// page the engine writes.
TEST(ShippedTemplates, HoldTheirMarkersAndDeclareGbk) {
  const struct {
    const char* name;
    const char* marker;
  } cases[] = {
      {"analysisreportmodel.html", "<!--table-->"},
      {"defragreportmodel.html", "<!--table-->"},
      {"registryreportmodel.html", "<!--table-->"},
      {"registryreportmodel.html", "<!--errors-->"},
      {"analysisreporttopmodel.html", "<tr><td class=\"foot\" width=\"120\"><b>"},
      {"defragreporttopmodel.html", "<tr><td class=\"foot\" width=\"120\"><b>"},
      {"analysisreporttopmodel.html", "<!--partitionlist--><td class=\"foot\">&nbsp;</td></tr>"},
      {"defragreporttopmodel.html", "<!--partitionlist--><td class=\"foot\">&nbsp;</td></tr>"}};
  for (const auto& c : cases) {
    const std::string text = shipped(c.name);
    EXPECT_EQ(occurrences(text, c.marker), 1u) << c.name << " " << c.marker;
    EXPECT_EQ(occurrences(text, "charset=gb2312"), 1u) << c.name;
    for (const char* style : {".infotable {", ".header {", ".content {", ".foot {"}) {
      EXPECT_EQ(occurrences(text, style), 1u) << c.name << " " << style;
    }
  }
}

// Catches a report set whose index links open nowhere (no frame named
// "mainFrame") or that shows the wrong index page.
TEST(ShippedTemplates, ReportSetsFrameTheirIndexBesideMainFrame) {
  const struct {
    const char* name;
    const char* index;
    const char* main;
  } cases[] = {{"analysisreport.html", "analysisreporttop.html", "analysisreport1.html"},
               {"registryanalysisreport.html", "analysisreporttop.html", "registryreport.html"},
               {"defragreport.html", "defragreporttop.html", "defragreport1.html"},
               {"registrydefragreport.html", "defragreporttop.html", "registryreport.html"}};
  for (const auto& c : cases) {
    const std::string text = shipped(c.name);
    EXPECT_EQ(occurrences(text, std::string("<frame src=\"") + c.index + "\" name=\"topFrame\""),
              1u)
        << c.name;
    EXPECT_EQ(occurrences(text, std::string("<frame src=\"") + c.main + "\" name=\"mainFrame\">"),
              1u)
        << c.name;
    EXPECT_EQ(occurrences(text, "charset=gb2312"), 1u) << c.name;
  }
}

// The shipped templates through the page writers: nothing of the engine's
// markers is left in the pages.
TEST(ShippedTemplates, MakeCompletePages) {
  scratch_folder folder;
  for (const char* name : {"analysisreportmodel.html", "analysisreporttopmodel.html"}) {
    folder.write(name, shipped(name));
  }
  report_strings strings;
  build_report_blocks(strings);
  std::atomic<std::int32_t> present{1};
  begin_report_set(strings, present);
  add_volume_index_cell(strings, report_kind::analysis, 1, 'C');
  std::string fragmentation_text;
  write_analysis_page(strings, folder.path(), 1,
                      volume_figures{'C', "NTFS", "40.0 GB", "20.0 GB", 4096, 5242880, 5242880},
                      walk_figures{10, 100, 0, 0}, 2, 0, fragmentation_text);
  write_analysis_index(strings, folder.path());
  const struct {
    const char* page;
    const char* model;
    const char* content;
  } cases[] = {
      {"analysisreport1.html", "analysisreportmodel.html", "<div align=left> C:\\ </div>"},
      {"analysisreporttop.html", "analysisreporttopmodel.html",
       "target=mainFrame>Registry</a></td><td class=header width=50><a href=analysisreport1.html "
       "target=mainFrame>C:\\</a></td>"}};
  for (const auto& c : cases) {
    const std::string text = folder.read(c.page).value_or("");
    EXPECT_GT(text.size(), shipped(c.model).size()) << c.page;
    EXPECT_NE(text.find(c.content), std::string::npos) << c.page;
    EXPECT_EQ(text.find("<!--"), std::string::npos) << c.page;
  }
}

}  // namespace
}  // namespace dravik::testing
