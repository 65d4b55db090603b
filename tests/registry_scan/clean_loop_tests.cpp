// The clean loop: what it deletes, what it leaves, and how a stop ends it.
#include <gtest/gtest.h>

#include "fake_registry.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"

namespace regscan::testing {
namespace {

std::wstring key(int n) { return L"HKEY_CURRENT_USER\\Software\\k" + std::to_wstring(n); }

// Puts two issues into cell 0 and one into cell 1: the phase reports 2566
// items, so the last wraps into cell 0 behind the first.
void fill_two_cells(fake_registry& fake, const found_item& first, const found_item& wrapped,
                    const found_item& second) {
  std::vector<found_item>& items = fake.items[0];
  items.push_back(first);
  items.push_back(second);
  for (std::size_t n = 2; n < registry_cell_count; ++n) items.push_back(fine_item(L"f"));
  items.push_back(wrapped);
}

struct refusal_case {
  const char* name;
  std::set<std::wstring> refused;
  std::int32_t cell0_code;
  std::int32_t cell1_code;
  std::int32_t open_after;
};

// Catches an issue marked repaired although its deleter refused, a cell
// turned fine while one of its issues is still open, and a count that drops
// for a failed deletion.
const refusal_case refusal_cases[] = {
    {"AllDeleted", {}, cell_fine, cell_fine, 0},
    {"OneOfCellZeroRefused", {L"HKEY_CURRENT_USER\\Software\\k0"}, cell_open_issue, cell_fine, 1},
    {"CellOneRefused", {L"HKEY_CURRENT_USER\\Software\\k1"}, cell_fine, cell_open_issue, 1},
};

class DeleterResult : public RegistryScan, public ::testing::WithParamInterface<refusal_case> {};

TEST_P(DeleterResult, OnlyADeletedIssueIsRepaired) {
  fake.refused = GetParam().refused;
  fill_two_cells(fake, problem_item(key(0)), problem_item(key(2)), problem_item(key(1)));

  registry_clean_thread(nullptr);

  const issue_store& store = registry_store();
  EXPECT_EQ(store.cell_states.at(0), GetParam().cell0_code);
  EXPECT_EQ(store.cell_states.at(1), GetParam().cell1_code);
  EXPECT_EQ(store.cell_states.at(2), cell_fine);
  EXPECT_EQ(store.open_problem_count, GetParam().open_after);
  for (const auto& group : store.issue_groups) {
    for (const auto& issue : group) {
      const bool refused = GetParam().refused.count(issue.key_path) != 0;
      EXPECT_EQ(issue.fixed, refused ? 0 : 1) << issue.key_path;
    }
  }
  // Every open issue was tried once and sent its record, refused or not.
  EXPECT_EQ(fake.delete_calls, (std::vector<std::wstring>{key(0), key(2), key(1)}));
  std::vector<std::wstring> issue_records;
  for (const auto& record : fake.records) {
    if (record.type == progress_clean && record.step == 0) issue_records.push_back(record.text);
  }
  EXPECT_EQ(issue_records, fake.delete_calls);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleterResult, ::testing::ValuesIn(refusal_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using CleanStop = RegistryScan;

// Catches a stop that drops the step record of the group in hand (the bar
// would lag) or deletes on after the stop.
TEST_F(CleanStop, GroupInHandSendsItsStepThenTheRunEnds) {
  fill_two_cells(fake, problem_item(key(0)), problem_item(key(2)), problem_item(key(1)));
  fake.stop_flag = &clean_stop_flag;
  fake.stop_on_delete = key(0);

  registry_clean_thread(nullptr);

  EXPECT_EQ(fake.deleted, (std::vector<std::wstring>{key(0)}));
  const std::vector<scan_progress> clean = records_of_type(progress_clean);
  ASSERT_EQ(clean.size(), 2u);
  EXPECT_EQ(clean[0].step, 0);
  EXPECT_EQ(clean[0].text, key(0));
  EXPECT_EQ(clean[1].step, 1);
  EXPECT_EQ(clean[1].text, key(0));
  EXPECT_EQ(steps(), 8u);
  EXPECT_EQ(fake.records.back().type, progress_clean_end);
  EXPECT_EQ(count_of_type(progress_clean_end), 1u);

  // The stopped run keeps what it repaired and what it found.
  const issue_store& store = registry_store();
  EXPECT_EQ(store.cell_states.at(0), cell_open_issue) << "k2 is still open";
  EXPECT_EQ(store.cell_states.at(1), cell_open_issue);
  EXPECT_EQ(store.open_problem_count, 2);
}

}  // namespace
}  // namespace regscan::testing
