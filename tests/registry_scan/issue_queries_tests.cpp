// What the user interface lists for a clicked cell and a selected line.
#include <gtest/gtest.h>

#include "fake_registry.h"
#include "regscan/issue_queries.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"

namespace regscan::testing {
namespace {

using lines = std::vector<std::wstring>;

const std::wstring long_key =
    L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe";

class IssueQueries : public RegistryScan {
 protected:
  void SetUp() override {
    RegistryScan::SetUp();
    // Cell 0 holds two issues (the second wrapped round the ring), cell 1
    // one, the rest fine filler; 2566 items in all.
    found_item first = problem_item(long_key, L"Application Paths Issue");
    first.data = L"C:\\Program Files\\tool.exe";
    std::vector<found_item>& items = fake.items[0];
    items.push_back(first);
    items.push_back(fine_item(L"HKEY_CURRENT_USER\\Software\\Run"));
    for (std::size_t n = 2; n < registry_cell_count; ++n) items.push_back(fine_item(L"x"));
    items.push_back(problem_item(L"HKEY_CURRENT_USER\\Software\\Empty", L"无用的关键值"));
    registry_scan_thread(nullptr);
  }
};

TEST_F(IssueQueries, GroupProblemsAppendOneLinePerIssue) {
  lines out{L"kept"};
  ASSERT_TRUE(get_group_problems(0, &out));
  EXPECT_EQ(out, (lines{L"kept", L"Application Paths Issue", L"无用的关键值"}));
}

// The detail lines: the labels exact, "Registry Key:" without a blank, long
// texts broken at backslashes.
TEST_F(IssueQueries, IssueDetailsGiveTheLabelledLines) {
  lines out;
  ASSERT_TRUE(get_issue_details(0, 0, &out));
  EXPECT_EQ(out, (lines{L"问题: Application Paths Issue", L"数据: C:\\Program Files\\tool.exe",
                        L"Registry Key:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\",
                        L"Windows\\CurrentVersion\\App Paths\\tool.exe"}));
  out.clear();
  ASSERT_TRUE(get_issue_details(1, 0, &out));
  EXPECT_EQ(out.front(), L"问题: 无用的关键值");
  out.clear();
  ASSERT_TRUE(get_issue_details(0, 1, &out));
  EXPECT_EQ(out, (lines{L"问题: Normal", L"数据: C:\\windows\\notepad.exe",
                        L"Registry Key:HKEY_CURRENT_USER\\Software\\Run"}));
}

struct bounds_case {
  const char* name;
  bool details;
  unsigned position;
  unsigned cell;
  bool result;
};

// Catches a read past a group or past the groups: out stays as it was.
const bounds_case bounds_cases[] = {
    {"ProblemsOfLastCell", false, 0, registry_cell_count - 1, true},
    {"ProblemsOfCellPastTheEnd", false, 0, registry_cell_count, false},
    {"ProblemsOfHugeCell", false, 0, 0xFFFFFFFFu, false},
    {"DetailsOfLastIssue", true, 1, 0, true},
    {"DetailsAtTheIssueCount", true, 2, 0, false},
    {"DetailsOfCellPastTheEnd", true, 0, registry_cell_count, false},
    {"DetailsOfHugePosition", true, 0xFFFFFFFFu, 1, false},
};

class QueryBounds : public IssueQueries, public ::testing::WithParamInterface<bounds_case> {};

TEST_P(QueryBounds, AnswerOnlyInsideTheStore) {
  const bounds_case& c = GetParam();
  lines out{L"kept"};
  const bool result = c.details ? get_issue_details(c.position, c.cell, &out)
                                : get_group_problems(c.cell, &out);
  EXPECT_EQ(result, c.result);
  if (!c.result) {
    EXPECT_EQ(out, lines{L"kept"});
  }
  EXPECT_FALSE(c.details ? get_issue_details(c.position, c.cell, nullptr)
                         : get_group_problems(c.cell, nullptr));
}

INSTANTIATE_TEST_SUITE_P(Cases, QueryBounds, ::testing::ValuesIn(bounds_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
