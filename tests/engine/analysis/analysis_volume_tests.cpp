// The analysis of one volume of a job: which volumes are analysed, what a
// failed bitmap read leaves, the walk variant, and the page it writes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "analysis/analysis_variant.h"
#include "options/exclusion_lists.h"

namespace dravik::testing {
namespace {

using sim::file_run;

class AnalysisVolume : public AnalysisFixture {
 protected:
  const std::string& partition_list() { return engine().report_strings.partition_list; }
};

// Catches a volume without a map given a header cell or a page, and page
// numbers taken from the volume instead of the caller.
TEST_F(AnalysisVolume, VolumeWithoutMapIsPassedOver) {
  sim.add_volume('C', test_volume());
  sim.add_volume('D', test_volume());
  sim.set_volume_open_error('D', ERROR_ACCESS_DENIED);
  sim.add_file("C:\\a.txt", 4096, {{10, 1}});
  load();
  analyse('D', 1);
  EXPECT_EQ(partition_list(), "");
  EXPECT_FALSE(folder.exists("analysisreport1.html"));

  analyse('C', 2);
  EXPECT_EQ(partition_list(),
            "<td class=header width=50><a href=analysisreport2.html target=mainFrame>C:\\</a></td>");
  EXPECT_TRUE(folder.exists("analysisreport2.html"));
  EXPECT_FALSE(folder.exists("analysisreport1.html"));
}

// Catches the old map kept when the bitmap cannot be read, a page written
// for it, and the header cell withdrawn.
TEST_F(AnalysisVolume, FailedBitmapReadLeavesZeroCellsAndNoPage) {
  std::vector<uint8_t> disk_data(24000, 0);
  disk_data[5 * 24] = 1;
  disk_data[5 * 24 + 16] = 7;
  folder.write("diskdata", disk_data);
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\a.txt", 4096, {{10, 1}});
  load();
  ASSERT_EQ(cell(5).contiguous_count, 7);
  sim.fail_bitmap_reads('C', ERROR_IO_DEVICE, 1);
  analyse();

  EXPECT_TRUE(used_cells().empty());
  EXPECT_NE(partition_list().find("analysisreport1.html"), std::string::npos);
  EXPECT_FALSE(folder.exists("analysisreport1.html"));
  EXPECT_EQ(walk().files_scanned, 0u);
}

// Catches counters, lists or rows carried over from the previous analysis,
// and exclusions taken once at load instead of when the volume begins.
TEST_F(AnalysisVolume, EachAnalysisStartsFromZero) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\keep\\a.txt", 4096, {{10, 3}});
  sim.add_file("C:\\drop\\b.dat", 11 * 2 * 4096,
               {{100, 2}, {110, 2}, {120, 2}, {130, 2}, {140, 2}, {150, 2},
                {160, 2}, {170, 2}, {180, 2}, {190, 2}, {200, 2}});
  load();
  analyse();
  const auto first_cells = used_cells();
  const std::string first_rows = engine().report_strings.fragment_rows;
  analyse();
  EXPECT_EQ(used_cells(), first_cells);
  EXPECT_EQ(engine().report_strings.fragment_rows, first_rows);
  EXPECT_EQ(list(9), std::vector<std::string>{"C:\\keep\\a.txt"});
  EXPECT_EQ(walk().files_scanned, 2u);

  engine().options.excluded_folders.push_back("DROP");
  analyse();
  EXPECT_EQ(walk().files_scanned, 1u);
  EXPECT_EQ(engine().report_strings.fragment_rows, "");
  EXPECT_TRUE(list(99).empty());
}

// Catches the large walk examining small files, or adding their size to the
// progress; a file of exactly 1 MiB is small.
TEST_F(AnalysisVolume, LargeVolumeExaminesOnlyFilesAboveOneMebibyte) {
  sim::volume_geometry geometry = test_volume(40000);
  geometry.sectors_per_cluster = 128;  // 64 KiB clusters
  sim.add_volume('C', geometry);
  sim.reserve_clusters('C', 0, 16384);  // 1 GiB in use before the files
  sim.add_file("C:\\one_mib.bin", 1048576, {{20000, 16}});
  sim.add_file("C:\\above.bin", 1048577, {{20100, 17}});
  load();
  analyse();

  EXPECT_EQ(walk().files_scanned, 2u);
  EXPECT_EQ(engine().status.totalUnits.get(), 16384u + 16 + 17);
  EXPECT_EQ(engine().status.doneUnits.get(), 1u + 17) << "the small file adds no progress";
  EXPECT_EQ(used_cells().size(), 1u) << "40 clusters per cell: above.bin in one cell";
  EXPECT_EQ(list(502), std::vector<std::string>{"C:\\above.bin"});
}

struct variant_case {
  const char* file_system;
  uint32_t bytes_per_cluster;
  uint64_t used_clusters;
  bool ntfs;
  bool large;
};

// Catches a case-insensitive or prefix test of the file system name, a used
// size compared with >= or computed in 32 bits.
TEST(AnalysisVariant, ChosenByFileSystemNameAndUsedBytes) {
  const variant_case cases[] = {
      {"NTFS", 4096, 262144, true, false},     // exactly 1 GiB
      {"NTFS", 4096, 262145, true, true},      // one cluster more
      {"NTFS", 65536, 70000, true, true},      // 4.27 GiB: past 32 bits
      {"FAT32", 4096, 100, false, false},
      {"FAT", 512, 2097153, false, true},
      {"ntfs", 4096, 100, false, false},
      {"NTFS5", 4096, 100, false, false},
      {"", 0, 0, false, false},
  };
  for (const variant_case& c : cases) {
    const analysis_variant variant =
        choose_analysis_variant(c.file_system, c.bytes_per_cluster, c.used_clusters);
    EXPECT_EQ(variant.ntfs, c.ntfs) << c.file_system << " " << c.used_clusters;
    EXPECT_EQ(variant.large, c.large) << c.file_system << " " << c.used_clusters;
    EXPECT_EQ(variant.lcn_offset(), c.ntfs ? 0 : 2);
  }
  EXPECT_TRUE((analysis_variant{true, true}).examines(1048577));
  EXPECT_FALSE((analysis_variant{true, true}).examines(1048576));
  EXPECT_TRUE((analysis_variant{true, false}).examines(0));
}

std::string read_expected(const std::string& name) {
  std::ifstream in(std::string(TESSAREL_TEST_DATA_DIR) + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replace_all(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// Catches figures of the walk that do not reach the page, or reach the wrong
// marker: a volume with a listed file (its name escaped), a settled one, a
// small one and a contiguous one under System32, given in lower case.
TEST_F(AnalysisVolume, PageOfAScenarioMatchesTheExpectedFile) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\Windows\\System32\\kernel.dll", 3 * 4096, {{10, 3}});
  std::vector<file_run> listed, settled;
  for (int i = 0; i < 12; ++i) listed.push_back({100 + 10 * i, 2});
  for (int i = 0; i < 11; ++i) settled.push_back({300 + 4 * i, 3});
  settled.back().lcn = settled[9].lcn + 3;  // touches the one before
  sim.add_file("C:\\data\\R&D.db", 24 * 4096, listed);
  sim.add_file("C:\\data\\settled.db", 33 * 4096, settled);
  sim.add_file("C:\\data\\small.db", 4 * 4096, {{500, 2}, {510, 2}});
  load();
  analyse('c', 3);

  // The expected page holds {start}, {finish} and {used} for the times of the run.
  std::string expected = read_expected("analysis_page_expected.html");
  ASSERT_FALSE(expected.empty());
  const report_strings& strings = engine().report_strings;
  replace_all(expected, "{start}", strings.start_time_text);
  replace_all(expected, "{finish}", strings.finish_time_text);
  replace_all(expected, "{used}", strings.used_time_text);
  EXPECT_EQ(read("analysisreport3.html"), expected);
  EXPECT_EQ(engine().volumes[0].fragmentation_text, "1.20%");
}

}  // namespace
}  // namespace dravik::testing
