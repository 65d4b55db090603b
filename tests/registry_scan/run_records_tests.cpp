// The records the workers send and the report hand-over: the owner's
// progress bar counts the steps and its job machine waits for the end record.
#include <gtest/gtest.h>

#include "fake_registry.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"

namespace regscan::testing {
namespace {

const std::wstring key_a = L"HKEY_LOCAL_MACHINE\\Software\\App Paths\\a.exe";
const std::wstring key_b = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Run";

using RunRecords = RegistryScan;

// Catches a step record missing or doubled for a phase, an item record with
// a step, and an end record before the report.
TEST_F(RunRecords, CompleteScanSendsItemsSevenStepsAndOneEnd) {
  fake.items[1] = {fine_item(key_a)};
  fake.items[3] = {problem_item(key_b)};

  registry_scan_thread(nullptr);

  // Phases 0 and 1 (one item in 1), 2, 5, 7, 6, then 3 with its item.
  const std::vector<std::pair<std::uint32_t, std::uint8_t>> shape = {
      {0, 1}, {0, 0}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 0}, {0, 1}, {2, 0}};
  ASSERT_EQ(fake.records.size(), shape.size());
  for (std::size_t i = 0; i < shape.size(); ++i) {
    EXPECT_EQ(fake.records[i].type, shape[i].first) << i;
    if (shape[i].first != progress_scan_end) {
      EXPECT_EQ(fake.records[i].step, shape[i].second) << i;
    }
  }
  EXPECT_EQ(fake.records[1].text, key_a);
  EXPECT_EQ(fake.records[7].text, key_b);
  EXPECT_TRUE(fake.records[8].text.empty());
  EXPECT_EQ(steps(), 7u);
  EXPECT_EQ(fake.phases_run, (std::vector<std::uint32_t>{0, 1, 2, 5, 7, 6, 3}));
}

// Catches a clean loop that skips empty groups or sends two steps for one.
TEST_F(RunRecords, CompleteCleanSendsSevenPlusOneStepPerCell) {
  fake.items[0] = {fine_item(key_a), problem_item(key_b)};

  registry_clean_thread(nullptr);

  EXPECT_EQ(steps(), 7u + registry_cell_count);
  EXPECT_EQ(count_of_type(progress_clean_end), 1u);
  EXPECT_EQ(fake.records.back().type, progress_clean_end);
  EXPECT_EQ(fake.deleted, (std::vector<std::wstring>{key_b}));

  // After the scan part: cell 0 (fine, no issue record, its step), cell 1
  // (the deleted issue, its step), then the empty cells repeat the text.
  const std::vector<scan_progress> clean = records_of_type(progress_clean);
  ASSERT_EQ(clean.size(), registry_cell_count + 1);
  EXPECT_EQ(clean[0].step, 1);
  EXPECT_EQ(clean[0].text, key_a);
  EXPECT_EQ(clean[1].step, 0);
  EXPECT_EQ(clean[1].text, key_b);
  EXPECT_EQ(clean[2].step, 1);
  EXPECT_EQ(clean[2].text, key_b);
  EXPECT_EQ(clean[3].text, key_b) << "an empty group repeats the previous text";
  EXPECT_EQ(clean.back().text, key_b);
}

// A scan that finds nothing still hands over 2565 empty groups and cleans
// every cell.
TEST_F(RunRecords, CleanOfAnEmptyScanSendsEmptyTexts) {
  registry_clean_thread(nullptr);
  EXPECT_EQ(steps(), 7u + registry_cell_count);
  for (const auto& record : fake.records) EXPECT_TRUE(record.text.empty());
  ASSERT_EQ(fake.reports.size(), 2u) << "before and after the clean";
  EXPECT_EQ(fake.reports[0].groups, registry_cell_count);
  EXPECT_EQ(registry_store().cell_states.at(registry_cell_count - 1), cell_empty);
}

struct hand_over_case {
  const char* name;
  bool clean;
  std::uint32_t stop_category;  // 99: no stop
  std::vector<int> modes;
  std::size_t steps;
  std::vector<std::uint32_t> phases;
  const wchar_t* stop_on_delete = L"";  // stops the clean once it is deleted
};

// Catches a report after a stopped scan (a "clean registry" that was never
// fully looked at), a clean whose report is not handed over again once it
// has ended (the page would claim repairs it never saw), a stop during
// the last phase that drops the report, and a hand-over after a stopped
// clean that puts the report back into the next job's set (mode 4 leaves
// it out).
const hand_over_case hand_over_cases[] = {
    {"ScanComplete", false, 99, {1}, 7, {0, 1, 2, 5, 7, 6, 3}},
    {"CleanComplete", true, 99, {2, 2}, 7 + registry_cell_count, {0, 1, 2, 5, 7, 6, 3}},
    {"ScanStoppedInThirdPhase", false, 2, {}, 2, {0, 1, 2}},
    {"CleanStoppedInThirdPhase", true, 2, {}, 2, {0, 1, 2}},
    {"ScanStoppedInSixthPhase", false, 6, {}, 5, {0, 1, 2, 5, 7, 6}},
    {"ScanStoppedInSeventhPhase", false, 3, {1}, 7, {0, 1, 2, 5, 7, 6, 3}},
    {"CleanStoppedInSeventhPhase", true, 3, {4, 4}, 7, {0, 1, 2, 5, 7, 6, 3}},
    {"CleanStoppedWhileCleaning", true, 99, {2, 4}, 8, {0, 1, 2, 5, 7, 6, 3},
     L"HKEY_CURRENT_USER\\c0"},
};

class ReportHandOver : public RegistryScan,
                       public ::testing::WithParamInterface<hand_over_case> {};

TEST_P(ReportHandOver, FollowsTheRunsEnd) {
  const hand_over_case& c = GetParam();
  for (std::uint32_t category : {0u, 1u, 2u, 3u, 5u, 6u, 7u}) {
    fake.items[category] = {problem_item(L"HKEY_CURRENT_USER\\c" + std::to_wstring(category)),
                            fine_item(L"HKEY_CURRENT_USER\\d" + std::to_wstring(category))};
  }
  fake.stop_flag = c.clean ? &clean_stop_flag : &scan_stop_flag;
  fake.stop_category = c.stop_category;
  fake.stop_on_delete = c.stop_on_delete;

  if (c.clean) {
    registry_clean_thread(nullptr);
  } else {
    registry_scan_thread(nullptr);
  }

  std::vector<int> modes;
  for (const auto& call : fake.reports) modes.push_back(call.mode);
  EXPECT_EQ(modes, c.modes);
  EXPECT_EQ(fake.phases_run, c.phases);
  for (const auto& call : fake.reports) EXPECT_EQ(call.groups, registry_cell_count);
  if (!fake.reports.empty()) {
    EXPECT_EQ(fake.reports[0].open_issues, 7u);
    EXPECT_EQ(fake.reports[0].deleted_before, 0u) << "the first report comes before deleting";
  }
  if (fake.reports.size() == 2) {
    // The second comes after every deletion, with the deleted ones fixed.
    EXPECT_EQ(fake.reports[1].deleted_before, fake.deleted.size());
    EXPECT_EQ(fake.reports[1].open_issues, 7u - fake.deleted.size());
  }
  // A stop during the scan part deletes nothing; the end record is the
  // run's own, sent once and last.
  const std::uint32_t end = c.clean ? progress_clean_end : progress_scan_end;
  EXPECT_EQ(count_of_type(end), 1u);
  EXPECT_EQ(fake.records.back().type, end);
  // A stop in the scan part deletes nothing (in the seventh phase of a clean
  // run the scan completes, but the flag stays set) and keeps what was found.
  if (c.stop_category != 99) {
    EXPECT_TRUE(fake.deleted.empty());
    EXPECT_EQ(count_of_type(progress_clean), 0u);
    EXPECT_EQ(registry_store().cell_states.at(0), cell_open_issue);
  }
  EXPECT_EQ(steps(), c.steps);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportHandOver, ::testing::ValuesIn(hand_over_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Catches a null report function called, and a stop left over from the
// previous run ending the next one.
TEST_F(RunRecords, RunsCompleteWithoutAReportFunctionAndAfterAnOldStop) {
  save_registry_report = nullptr;
  fake.items[0] = {problem_item(key_a)};
  scan_stop_flag = true;
  registry_scan_thread(nullptr);
  EXPECT_EQ(steps(), 7u);
  clean_stop_flag = true;
  registry_clean_thread(nullptr);
  EXPECT_EQ(steps(), 7u + 7u + registry_cell_count);
  EXPECT_EQ(fake.deleted, (std::vector<std::wstring>{key_a}));
}

}  // namespace
}  // namespace regscan::testing
