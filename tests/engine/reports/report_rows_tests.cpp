#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "reports/report_rows.h"

namespace dravik::testing {
namespace {

// Catches a changed row layout; the second cell's "class=foot >" blank and the
// last cells are part of every page.
TEST(ReportRows, FileRowsAreByteExact) {
  report_strings strings;
  append_analysis_row(strings, "C:\\data\\big.iso", 12, 5000, 2);
  append_defrag_row(strings, "D:\\a.bin", 4294967295u, 0, 18446744073709551615ull);
  EXPECT_EQ(strings.fragment_rows,
            "<TR><TD class=foot><div align=left>C:\\data\\big.iso</div></TD>"
            "<TD class=foot ><div align=center>12</div></TD>"
            "<TD class=foot><div align=center>5 KB</div></TD>"
            "<TD class=foot><div align=center>2</div></TD>"
            "<TD class=foot><div align=center>Defragment</div></TD></TR>"
            "<TR><TD class=foot><div align=left>D:\\a.bin</div></TD>"
            "<TD class=foot ><div align=center>4294967295</div></TD>"
            "<TD class=foot><div align=center>1 KB</div></TD>"
            "<TD class=foot><div align=center>18446744073709551615</div></TD>"
            "<TD class=foot><div align=center>0</div></TD></TR>");
}

// Catches rounding of the size: it is bytes / 1024 + 1, so an empty file and
// a file of exactly 1 KB differ by one.
TEST(ReportRows, SizeIsWholeKilobytesPlusOne) {
  const struct {
    std::uint64_t bytes;
    const char* shown;
  } cases[] = {{0, ">1 KB<"},
               {1023, ">1 KB<"},
               {1024, ">2 KB<"},
               {1048576, ">1025 KB<"},
               {18446744073709551615ull, ">18014398509481984 KB<"}};
  for (const auto& c : cases) {
    report_strings strings;
    append_analysis_row(strings, "x", 11, c.bytes, 1);
    EXPECT_NE(strings.fragment_rows.find(c.shown), std::string::npos) << c.bytes;
  }
}

// Catches ranges that are not inclusive (1000 - 1008 for 8 clusters).
TEST(ReportRows, OptimisationRowShowsInclusiveRanges) {
  report_strings strings;
  append_optimize_row(strings, "C:\\f.dat", 1000, 40, 8);
  EXPECT_EQ(strings.optimize_rows,
            "<TR><TD class=foot width=50%><div align=left>C:\\f.dat</div></TD>"
            "<TD class=foot width=21%><div align=center>1000 - 1007</div></TD>"
            "<TD class=foot width=21%><div align=center>40 - 47</div></TD>"
            "<TD class=foot width=8%><div align=center>Sequence</div></TD></TR>");
}

// Catches a file or registry name that injects markup (a script, a closing
// cell, an attribute) or a marker into a page opened by an administrator,
// and escaping that garbles Chinese names.
TEST(ReportRows, ValuesAreEscapedAndChineseKept) {
  report_strings strings;
  append_optimize_row(strings, "C:\\<b>&\"x\"<!--table-->文件", 1, 2, 1);
  EXPECT_NE(
      strings.optimize_rows.find("C:\\&lt;b&gt;&amp;&quot;x&quot;&lt;!--table--&gt;文件</div>"),
      std::string::npos);
  EXPECT_EQ(
      registry_row("HKEY_CURRENT_USER\\<k>", "v&1", "\"d\"", "无效 <i>"),
      "<TR> <TD class=content width=39%><div align=left>HKEY_CURRENT_USER\\&lt;k&gt;</div></TD>"
      "<TD class=content width=19% align=middle><div align=left>v&amp;1</div></TD> "
      "<TD class=content width=19%><div align=left>&quot;d&quot;</div></TD>"
      "<TD width=23% class=content><div align=left>无效 &lt;i&gt;</div></TD></TR>");
}

}  // namespace
}  // namespace dravik::testing
