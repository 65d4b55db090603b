#include <gtest/gtest.h>

#include <windows.h>

#include "text/ansi_text.h"

namespace dravik::testing {
namespace {

struct compare_case {
  const char* a;
  const char* b;
  bool equal;
};

class AnsiEqualIgnoringCase : public ::testing::TestWithParam<compare_case> {};

// Catches a prefix taken for the whole text, case folding that misses or
// overreaches, and Chinese characters folded into each other.
TEST_P(AnsiEqualIgnoringCase, ComparesWholeTexts) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run under the Chinese ANSI code page";
  EXPECT_EQ(ansi_equal_ignoring_case(GetParam().a, GetParam().b), GetParam().equal)
      << GetParam().a << " | " << GetParam().b;
  EXPECT_EQ(ansi_equal_ignoring_case(GetParam().b, GetParam().a), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnsiEqualIgnoringCase,
    ::testing::Values(compare_case{"C:\\Windows\\a.txt", "c:\\WINDOWS\\A.TXT", true},
                      compare_case{"", "", true},
                      compare_case{"C:\\a", "C:\\ab", false},
                      compare_case{"C:\\a", "", false},
                      compare_case{"[", "{", false},  // no folding outside the letters
                      // 癆 (B0 41) and 癮 (B0 61): equal lead bytes, trail bytes differ
                      // only as 'A' and 'a' do
                      compare_case{"C:\\\xB0\x41.txt", "C:\\\xB0\x61.txt", false},
                      compare_case{"C:\\\xB0\x41.TXT", "c:\\\xB0\x41.txt", true},
                      // 文件 in either case context
                      compare_case{"D:\\\xCE\xC4\xBC\xFE\\X", "d:\\\xCE\xC4\xBC\xFE\\x", true}));

// Catches a search that is case-sensitive, reads past the given length, or
// starts a match on the second byte of a double-byte character (here 0x81
// followed by 'S').
TEST(AnsiContainsIgnoringCase, FindsAsciiPartsAtCharacterStarts) {
  const struct {
    const char* text;
    std::size_t length;
    bool found;
  } cases[] = {
      {"System32", 8, true},
      {"OldSYSTEM32Copy", 15, true},
      {"system3", 7, false},
      {"system32", 7, false},  // the match would end past the length
      {"\x81System32", 9, false},
      {"\x81\x40System32", 10, true},
      {"", 0, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ansi_contains_ignoring_case(c.text, c.length, "system32"), c.found) << c.text;
}

}  // namespace
}  // namespace dravik::testing
