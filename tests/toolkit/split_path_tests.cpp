#include "vemo/split_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vemo::testing {
namespace {

using lines = std::vector<std::wstring>;

struct split_case {
  const char* name;
  std::wstring text;
  lines expected;
};

const std::wstring dir40(40, L'd');   // "d..d" of 40 characters
const std::wstring name60(60, L'n');  // longer than a line

// Catches a break one character late or early at the 50-character limit, a
// lost backslash at a break, and text kept past an empty component.
const split_case split_cases[] = {
    {"ShortPathIsOneLine", L"文件名: C:\\a\\b.txt", {L"文件名: C:\\a\\b.txt"}},
    {"ExactlyFiftyStaysOnOneLine", L"C:\\" + dir40 + L"\\abcdef", {L"C:\\" + dir40 + L"\\abcdef"}},
    {"FiftyOneBreaksAfterTheBackslash",
     L"C:\\" + dir40 + L"\\abcdefg",
     {L"C:\\" + dir40 + L"\\", L"abcdefg"}},
    {"LongComponentStandsAloneOnTheLastLine",
     L"C:\\dir\\" + name60,
     {L"C:\\dir\\", name60}},
    {"LongComponentFirstIsFollowedByTheRest", name60 + L"\\x", {name60 + L"\\", L"x"}},
    {"LongPathBreaksIntoThreeLines",
     L"C:\\Program Files\\Sample Data\\A Rather Long Folder Name\\reports of the year\\x.txt",
     {L"C:\\Program Files\\Sample Data\\", L"A Rather Long Folder Name\\reports of the year\\",
      L"x.txt"}},
    {"DoubledBackslashEndsTheText", L"C:\\dir\\\\x", {L"C:\\dir"}},
    {"TrailingBackslashIsDropped", L"C:\\dir\\", {L"C:\\dir"}},
    {"LeadingBackslashGivesNothing", L"\\dir", {}},
    {"EmptyTextGivesNothing", L"", {}},
    {"NoBackslashIsOneLine", L"Registry Key:HKEY_USERS", {L"Registry Key:HKEY_USERS"}},
};

class SplitPath : public ::testing::TestWithParam<split_case> {};

TEST_P(SplitPath, GivesTheLines) {
  lines out;
  split_path(GetParam().text, out);
  EXPECT_EQ(out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitPath, ::testing::ValuesIn(split_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The registry details add two texts in a row to one list.
TEST(SplitPathAppends, KeepsWhatTheListHeld) {
  lines out{L"问题: x"};
  split_path(L"a\\b", out);
  EXPECT_EQ(out, (lines{L"问题: x", L"a\\b"}));
}

}  // namespace
}  // namespace vemo::testing
