// The detail lines of one file, and the line that sets a popup's width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "details/file_info_lines.h"
#include "details/longest_line.h"

namespace tessarel::testing {
namespace {

using lines = std::vector<std::wstring>;

struct file_case {
  const char* name;
  uint32_t extents;
  int saved_code;
  std::wstring state_line;
};

// Catches the sparse text shown for a whole file, the extent count lost for
// a fragmented one, and a count of 0 taken for "no fragments".
const file_case file_cases[] = {
    {"OneExtentInAnyBlockHasNoFragments", 1, 5, L"没有碎片"},
    {"OneExtentInASparseBlockHasNoFragments", 1, 1, L"没有碎片"},
    {"ManyExtentsInASparseBlockAreASparseFile", 3, 1, L"稀疏文件"},
    {"ManyExtentsElsewhereShowTheirCount", 3, 5, L"碎片: 3"},
    {"LargeCountsHaveNoGrouping", 123456, 4, L"碎片: 123456"},
    {"NoExtentsShowACountOfZero", 0, 4, L"碎片: 0"},
};

class FormatFileInfo : public ::testing::TestWithParam<file_case> {};

TEST_P(FormatFileInfo, GivesStateSizesThenThePath) {
  const FileExtentInfo info{GetParam().extents, 0, 3, 10000};
  lines out{L"old"};
  format_file_info(out, L"C:\\a\\b.txt", &info, GetParam().saved_code);
  EXPECT_EQ(
      out, (lines{GetParam().state_line, L" 簇: 3", L"     大小: 10000", L"文件名: C:\\a\\b.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatFileInfo, ::testing::ValuesIn(file_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Catches a null record read (a crash) and old lines kept when the engine
// could not open the file.
TEST(FormatFileInfoWithoutRecord, ShowsThePathLinesAlone) {
  const std::wstring folder(40, L'f');
  lines out{L"old"};
  format_file_info(out, L"C:\\" + folder + L"\\b.txt", nullptr, 5);
  EXPECT_EQ(out, (lines{L"文件名: C:\\" + folder + L"\\", L"b.txt"}));
}

// Catches sizes above 32 bits cut short.
TEST(FormatFileInfoSizes, KeepAllSixtyFourBits) {
  const FileExtentInfo info{2, 0, 0x100000000ull, 0xFFFFFFFFFFFFFFFFull};
  lines out;
  format_file_info(out, L"x", &info, 0);
  EXPECT_EQ(out[1], L" 簇: 4294967296");
  EXPECT_EQ(out[2], L"     大小: 18446744073709551615");
}

TEST(LongestLine, MostCharactersWinsAndTheFirstOfEqualOnes) {
  const struct {
    lines text;
    std::ptrdiff_t position;
  } cases[] = {
      {{L"ab", L"abcd", L"abcd"}, 1},
      {{L"abcd", L"ab", L"abcd"}, 0},
      {{L"a", L"ab", L"abc"}, 2},
      {{L""}, 0},
      {{}, 0},  // the end of an empty range
  };
  for (const auto& c : cases) {
    EXPECT_EQ(longest_line(c.text.begin(), c.text.end()) - c.text.begin(), c.position);
  }
}

}  // namespace
}  // namespace tessarel::testing
