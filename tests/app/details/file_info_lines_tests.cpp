// The detail lines of one file.
#include <gtest/gtest.h>

#include "details/file_info_lines.h"
namespace tessarel::testing {
namespace {

using lines = std::vector<std::wstring>;

// Catches the sparse text shown for a whole file, the count lost for a
// fragmented one, 0 extents taken for "no fragments", and sizes cut to 32 bits.
TEST(FormatFileInfo, GivesStateSizesThenThePath) {
  const struct {
    uint32_t extents;
    int saved_code;
    const wchar_t* state;
  } cases[] = {{1, 5, L"没有碎片"},
               {1, 1, L"没有碎片"},
               {3, 1, L"稀疏文件"},
               {123456, 5, L"碎片: 123456"},
               {0, 4, L"碎片: 0"}};
  for (const auto& c : cases) {
    const FileExtentInfo info{c.extents, 0, 0x100000000ull, 0xFFFFFFFFFFFFFFFFull};
    lines out{L"old"};
    format_file_info(out, L"C:\\a\\b.txt", &info, c.saved_code);
    EXPECT_EQ(out, (lines{c.state, L" 簇: 4294967296", L"     大小: 18446744073709551615",
                          L"文件名: C:\\a\\b.txt"}));
  }
}

// Catches a null record read (a crash) and old lines kept when the engine
// could not open the file; the long path still breaks after a backslash.
TEST(FormatFileInfo, WithoutARecordShowsThePathLinesAlone) {
  const std::wstring folder(40, L'f');
  lines out{L"old"};
  format_file_info(out, L"C:\\" + folder + L"\\b.txt", nullptr, 5);
  EXPECT_EQ(out, (lines{L"文件名: C:\\" + folder + L"\\", L"b.txt"}));
}

}  // namespace
}  // namespace tessarel::testing
