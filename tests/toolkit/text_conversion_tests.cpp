#include "vemo/path_file_name.h"
#include "vemo/text_conversion.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace vemo::testing {
namespace {

// Every expectation below about byte counts assumes the Chinese code page the
// program targets; the test environment must provide it.
TEST(TextConversion, RunsUnderTheChineseAnsiCodePage) { ASSERT_EQ(GetACP(), 936u); }

TEST(TextConversion, ChineseTakesTwoBytesPerCharacterAndRoundTrips) {
  const std::wstring text = L"磁盘碎片";
  const std::string narrow = narrow_text(text);
  EXPECT_EQ(narrow, "\xB4\xC5\xC5\xCC\xCB\xE9\xC6\xAC");
  EXPECT_EQ(wide_text(narrow), text);
}

TEST(TextConversion, MixedTextRoundTrips) {
  const std::wstring text = L"C:\\Windows\\系统32\\文件 (1).txt";
  EXPECT_EQ(wide_text(narrow_text(text)), text);
}

TEST(TextConversion, CharacterTheCodePageLacksBecomesQuestionMark) {
  EXPECT_EQ(narrow_text(L"a\x0E01z"), "a?z");
}

TEST(TextConversion, EmptyStringsStayEmpty) {
  EXPECT_EQ(wide_text(""), L"");
  EXPECT_EQ(narrow_text(L""), "");
}

TEST(TextConversion, TextAfterAnEmbeddedNulIsDropped) {
  EXPECT_EQ(narrow_text(std::wstring(L"ab\0cd", 5)), "ab");
  EXPECT_EQ(wide_text(std::string("ab\0cd", 5)), L"ab");
}

TEST(TextConversion, LongTextIsConvertedWhole) {
  const std::wstring text(20000, L'碎');
  const std::string narrow = narrow_text(text);
  EXPECT_EQ(narrow.size(), 40000u);
  EXPECT_EQ(wide_text(narrow), text);
}

TEST(TextConversion, AssignWideTextReplacesTheOutput) {
  std::wstring out = L"old contents";
  assign_wide_text(out, "\xB4\xC5\xC5\xCC");
  EXPECT_EQ(out, L"磁盘");
  assign_wide_text(out, "");
  EXPECT_EQ(out, L"");
}

TEST(PathFileName, TakesThePartAfterTheLastBackslash) {
  struct Case {
    const wchar_t* path;
    const wchar_t* name;
  };
  const Case cases[] = {
      {L"C:\\a\\b.txt", L"b.txt"},
      {L"b.txt", L"b.txt"},
      {L"C:\\a\\", L""},
      {L"", L""},
      {L"\\", L""},
      {L"C:\\目录\\文件.dat", L"文件.dat"},
      {L"C:/a/b.txt", L"C:/a/b.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(path_file_name(c.path), c.name) << "path: " << c.path;
}

}  // namespace
}  // namespace vemo::testing
