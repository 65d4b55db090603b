#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_strings.h"

namespace dravik::testing {
namespace {

std::size_t occurrences(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

struct block_case {
  const char* name;
  std::string report_strings::*block;
  std::size_t length;
  std::vector<std::string> pieces;  // each must stand exactly once
};

const std::vector<std::string> summary_markers = {
    "<!--partition-->",      "<!--filesystem-->",         "<!--totalsize-->",
    "<!--usedsize-->",       "<!--totalclusters-->",      "<!--usedclusters-->",
    "<!--bytepercluster-->", "<!--scanneddirectories-->", "<!--scannedfiles-->",
    "<!--fragmentfiles-->",  "<!--startingtime-->",       "<!--finishingtime-->",
    "<!--usedtime-->",       "<!--fragmentlist-->"};

std::vector<std::string> with(std::vector<std::string> pieces, std::vector<std::string> more) {
  pieces.insert(pieces.end(), more.begin(), more.end());
  return pieces;
}

// Catches a block that lost or doubled a marker (a figure missing from every
// page, or a row table shown twice), a mistyped title or label, or a changed
// block.
TEST(ReportBlocks, KeepTheirLengthsMarkersAndTitles) {
  const std::vector<block_case> cases = {
      {"analysis", &report_strings::analysis_summary_block, 3212,
       with(summary_markers,
            {"<!--smallfragmentfiles-->", "<!--percentageoffragment-->",
             "<TD class=header colSpan=4>Analysis Summary </TD>",
             "<TD class=header colSpan=5>Analysis Details</TD>",
             "<TD class=content width=68%><div align=center>Big Fragment files Path</div></TD>",
             "<TD class=foot align=right><div align=right>Small Fragment files : </div></TD>"
             "<TD class=foot align=left><div align=left> <!--smallfragmentfiles--> </div></TD>"})},
      {"defrag", &report_strings::defrag_summary_block, 3163,
       with(summary_markers,
            {"<!--fragmentationbefore-->", "<!--optimize-->",
             "<TD class=header colSpan=4>Defragment  Summary </TD>",
             "<TD class=header colSpan=5>Defragment  Details</TD>",
             "<TD class=foot align=right><div align=right>Fragment now :</div></TD>"
             "<TD class=foot align=left><div align=left> 0.00%</div></TD>"})},
      {"optimize",
       &report_strings::optimize_details_block,
       494,
       {"<!--optimizelist-->", "<TD class=header colSpan=5>Optimization  Details</TD>",
        "<TD class=content width=21%><div align=center>Location now </div></TD>"}},
      {"registry",
       &report_strings::registry_details_block,
       473,
       {"<!--registrylist-->", "<TD class=header colSpan=5><!--details--></TD>",
        "<TD class=content width=19%><div align=center>Sub key </div></TD>"}},
  };
  report_strings strings;
  build_report_blocks(strings);
  const std::string table_open =
      "<TABLE class=infotable border=1 cellSpacing=0 borderColor=white cellPadding=2 "
      "width=98%><TBODY>";
  for (const block_case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string& block = strings.*c.block;
    EXPECT_EQ(block.size(), c.length);
    EXPECT_EQ(block.find('\n'), std::string::npos) << "one line of HTML";
    EXPECT_EQ(occurrences(block, table_open), occurrences(block, "</TBODY></TABLE>"));
    for (const std::string& piece : c.pieces) EXPECT_EQ(occurrences(block, piece), 1u) << piece;
  }
  EXPECT_EQ(strings.optimize_details_block.rfind("<br><TABLE", 0), 0u);
}

// Catches report strings that survive a reload of the engine.
TEST(ReportBlocks, BuildingEmptiesEveryOtherString) {
  report_strings strings;
  strings.partition_list = strings.fragment_rows = strings.optimize_rows = "stale";
  strings.used_time_text = strings.registry_report_block = "stale";
  build_report_blocks(strings);
  EXPECT_EQ(strings.partition_list + strings.fragment_rows + strings.optimize_rows +
                strings.used_time_text + strings.registry_report_block +
                strings.volume_report_table,
            "");
}

}  // namespace
}  // namespace dravik::testing
