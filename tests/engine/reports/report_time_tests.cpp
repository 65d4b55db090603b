#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "reports/report_percentage.h"
#include "reports/report_time.h"

namespace dravik::testing {
namespace {

// Catches days counted into the hours, minutes or seconds over 59, and the
// nonsense texts of a clock set back during a run.
TEST(ReportTime, UsedTimeDropsWholeDays) {
  const struct {
    std::int64_t span;
    const char* text;
  } cases[] = {{0, "00:00:00"},
               {59, "00:00:59"},
               {3599, "00:59:59"},
               {86399, "23:59:59"},
               {86400, "00:00:00"},
               {25 * 3600 + 3 * 60 + 4, "01:03:04"},
               {10 * 86400 + 7322, "02:02:02"},
               {-5, "00:00:00"}};
  for (const auto& c : cases) EXPECT_EQ(format_used_time(c.span), c.text) << c.span;
}

// Catches UTC instead of local time, or another field order.
TEST(ReportTime, InstantShowsAsLocalTime) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 8;
  local.tm_hour = 14;
  local.tm_min = 5;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  EXPECT_EQ(format_report_time(_mktime64(&local)), "14:05:09 2026-12-08");
  EXPECT_EQ(format_report_time(-1), "");
  EXPECT_EQ(format_report_time(INT64_MAX), "");
}

TEST(ReportTime, MarksKeepInstantsAndTexts) {
  report_strings strings;
  mark_start_time(strings, 1800000000);
  mark_finish_time(strings, 1800000000 + 90061);
  EXPECT_EQ(strings.start_time_text, format_report_time(1800000000));
  EXPECT_EQ(strings.finish_time_text, format_report_time(1800090061));
  EXPECT_EQ(strings.used_time_text, "01:01:01");
}

// Catches rounding instead of cutting (999 cells must not show 100.00%) and
// a lost trailing zero, over every count the map can hold.
TEST(FragmentationPercentage, IsCutAfterTwoDecimals) {
  EXPECT_EQ(fragmentation_percentage(0), "0.00%");
  EXPECT_EQ(fragmentation_percentage(1), "0.10%");
  EXPECT_EQ(fragmentation_percentage(123), "12.30%");
  EXPECT_EQ(fragmentation_percentage(999), "99.90%");
  EXPECT_EQ(fragmentation_percentage(1000), "100.00%");
  for (int count = 0; count <= 1000; ++count) {
    ASSERT_EQ(fragmentation_percentage(count),
              std::to_string(count / 10) + "." + std::to_string(count % 10) + "0%");
  }
}

struct test_cell {
  std::int32_t in_use, system_count, reserved, fragmented_count, contiguous_count, settled_count;
};

// Catches counting cells the map shows as system, settled or contiguous
// (ties go to those), or empty cells.
TEST(FragmentationPercentage, CountsOnlyFragmentationDominatedCells) {
  const test_cell cells[] = {{1, 0, 0, 6, 5, 2},   // counted
                             {1, 0, 0, 1, 0, 0},   // counted
                             {1, 0, 0, 5, 5, 2},   // tie with contiguous
                             {1, 0, 0, 5, 2, 5},   // tie with settled
                             {1, 1, 0, 9, 0, 0},   // under system32
                             {0, 0, 0, 9, 0, 0},   // not in use
                             {1, 0, 0, 0, 0, 0}};  // in use, nothing counted
  EXPECT_EQ(count_fragmentation_cells(cells, std::size(cells)), 2);
}

}  // namespace
}  // namespace dravik::testing
