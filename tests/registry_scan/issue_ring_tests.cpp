// The ring of 2565 cells: where each examined item lands and which code its
// cell shows.
#include <gtest/gtest.h>

#include "fake_registry.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"

namespace regscan::testing {
namespace {

std::wstring key(std::size_t n) { return L"HKEY_CURRENT_USER\\Software\\k" + std::to_wstring(n); }

struct ring_case {
  const char* name;
  bool first_open;
  bool wrapped_open;
  std::int32_t cell0_code;
};

// Catches a 2566th item written past the containers or over the first, and
// a cell code taken from the last issue alone.
const ring_case ring_cases[] = {
    {"BothFine", false, false, cell_fine},
    {"FirstOpen", true, false, cell_open_issue},
    {"WrappedOpen", false, true, cell_open_issue},
};

class IssueRing : public RegistryScan, public ::testing::WithParamInterface<ring_case> {};

TEST_P(IssueRing, ItemAfterTheLastCellLandsBehindTheFirst) {
  std::vector<found_item>& items = fake.items[0];
  for (std::size_t n = 0; n <= registry_cell_count; ++n) items.push_back(fine_item(key(n)));
  if (GetParam().first_open) items.front() = problem_item(key(0));
  if (GetParam().wrapped_open) items.back() = problem_item(key(registry_cell_count));

  registry_scan_thread(nullptr);

  const issue_store& store = registry_store();
  ASSERT_EQ(store.issue_groups.size(), registry_cell_count);
  ASSERT_EQ(store.issue_groups[0].size(), 2u);
  EXPECT_EQ(store.issue_groups[0][0].key_path, key(0));
  EXPECT_EQ(store.issue_groups[0][1].key_path, key(registry_cell_count));
  EXPECT_EQ(store.issue_groups[1].size(), 1u);
  EXPECT_EQ(store.issue_groups[registry_cell_count - 1].size(), 1u);
  EXPECT_EQ(store.cell_states.at(0), GetParam().cell0_code);
  EXPECT_EQ(store.cell_states.at(1), cell_fine);
  EXPECT_EQ(store.group_write_pos, 1u);
  EXPECT_EQ(store.state_write_pos, 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueRing, ::testing::ValuesIn(ring_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using IssueStore = RegistryScan;

// Catches a wrong fixed byte, count or category in the stored issue, and
// cells written out of step with their groups across phases.
TEST_F(IssueStore, EachItemTakesTheNextCellWithItsPhasesCategory) {
  fake.items[0] = {fine_item(key(0))};
  fake.items[5] = {problem_item(key(1), L"缺少共享 DLL")};
  fake.items[3] = {problem_item(key(2), L"旧的开始菜单键值")};

  registry_scan_thread(nullptr);

  const issue_store& store = registry_store();
  const std::uint32_t categories[] = {0, 5, 3};
  const std::int32_t codes[] = {cell_fine, cell_open_issue, cell_open_issue, cell_empty};
  for (std::size_t cell = 0; cell < 4; ++cell) {
    EXPECT_EQ(store.cell_states.at(cell), codes[cell]) << cell;
    if (cell == 3) break;
    ASSERT_EQ(store.issue_groups[cell].size(), 1u) << cell;
    EXPECT_EQ(store.issue_groups[cell][0].category, categories[cell]) << cell;
    EXPECT_EQ(store.issue_groups[cell][0].fixed, cell == 0 ? 1 : 0) << cell;
  }
  const dravik::registry_issue& issue = store.issue_groups[1][0];
  EXPECT_EQ(issue.problem + issue.key_path + issue.value_name + issue.data,
            L"缺少共享 DLL" + key(1) + L"value" + L"C:\\missing\\program.exe");
  EXPECT_EQ(store.open_problem_count, 2);
}

}  // namespace
}  // namespace regscan::testing
