// The command line as the first layout reads it.
#include <gtest/gtest.h>

#include <string>

#include "startup/command_line.h"

namespace tessarel::testing {
namespace {

// Catches blanks kept, other characters dropped or reordered, case folded.
TEST(CommandLine, OnlyBlanksAreRemoved) {
  struct line_case {
    const wchar_t* text;
    const wchar_t* stored;
  };
  const line_case cases[] = {
      {L" C  D ", L"CD"},
      {L"C,D", L"C,D"},
      {L"C\tD", L"C\tD"},        // a tab is not a blank
      {L" c -help ", L"c-help"},  // case and order stay
      {L"   ", L""},
      {L"", L""},
      {nullptr, L""},
  };
  for (const line_case& c : cases) {
    store_command_line(c.text);
    EXPECT_EQ(command_line_letters(), c.stored) << (c.text ? c.text : L"(null)");
  }
}

}  // namespace
}  // namespace tessarel::testing
