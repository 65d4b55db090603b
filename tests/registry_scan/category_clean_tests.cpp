// The real category table driving the scan and clean workers over a corpus
// of every category in the registry sandbox: what must survive, what must
// go and nothing else, and stops that must delete nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "category_corpus.h"
#include "regscan/category_texts.h"
#include "regscan/checker_stop_flags.h"
#include "regscan/issue_store.h"
#include "regscan/item_found.h"
#include "regscan/registry_categories.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"

namespace regscan::testing {
namespace {

std::wstring root_name(HKEY root) {
  if (root == HKEY_LOCAL_MACHINE) return L"HKEY_LOCAL_MACHINE";
  if (root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
  return L"HKEY_CLASSES_ROOT";
}

// What the hooks see, and where a test presses stop.
struct run_journal {
  std::vector<int> report_modes;
  std::size_t open_at_report = 0;
  std::wstring stop_at_prefix;  // stop on the first item whose key path starts so
  bool stopped = false;
  std::size_t items_after_stop = 0;
  bool write_before_clean = false;
};
run_journal* journal = nullptr;

void on_progress(const scan_progress* record) {
  if (record->type != progress_scan || record->step != 0) return;
  if (journal->stopped) ++journal->items_after_stop;
  if (!journal->stopped && !journal->stop_at_prefix.empty() &&
      record->text.rfind(journal->stop_at_prefix, 0) == 0) {
    // What the main window's stop does.
    scan_stop_flag = true;
    clean_stop_flag = true;
    stop_all_checkers();
    journal->stopped = true;
  }
}

void __cdecl on_report(dravik::issue_groups* groups, int mode) {
  journal->report_modes.push_back(mode);
  for (const auto& group : *groups)
    for (const auto& issue : group) journal->open_at_report += issue.fixed == 0 ? 1 : 0;
  // Between the scan part and the clean loop the empty key gains a value.
  if (journal->write_before_clean)
    set_text(HKEY_CURRENT_USER, L"Software\\Gains Value", L"v", L"1");
}

class RealTable : public CategoryCorpus {
 protected:
  void SetUp() override {
    CategoryCorpus::SetUp();
    ASSERT_TRUE(sandbox && sandbox->active()) << "never run the real table outside the sandbox";
    journal = &run;
    previous_ = install_category_table(registry_categories());
    installed_ = true;
    found_item_callback = &on_registry_item_found;
    progress_callback = &on_progress;
    save_registry_report = &on_report;
  }
  void TearDown() override {
    if (installed_) install_category_table(previous_);
    found_item_callback = nullptr;
    progress_callback = nullptr;
    save_registry_report = nullptr;
    journal = nullptr;
    CategoryCorpus::TearDown();
  }

  // The open problems of the last scan, as key path | value name.
  std::set<std::wstring> problems() const {
    std::set<std::wstring> found;
    for (const auto& group : registry_store().issue_groups)
      for (const auto& issue : group)
        if (issue.fixed == 0) found.insert(issue.key_path + L"|" + issue.value_name);
    return found;
  }

  std::set<std::wstring> expected_problems(bool gains_value_empty) const {
    std::set<std::wstring> expected;
    for (const corpus_entry& e : corpus) {
      const bool empty_now = gains_value_empty && e.key == L"Software\\Gains Value";
      if (!e.valid || empty_now)
        expected.insert(root_name(e.root) + L"\\" + e.key + L"|" + e.value);
    }
    return expected;
  }

  run_journal run;

 private:
  category_table previous_{};
  bool installed_ = false;
};

struct folders_case {
  const char* name;
  shell_folders folders;
};

class CleanRun : public RealTable, public ::testing::WithParamInterface<folders_case> {};

// Catches every way a valid entry is judged broken (the corpus lists them
// with the case each stands for), a deleter that removes more than its item,
// and a broken entry left behind.
TEST_P(CleanRun, DeletesTheBrokenEntriesAndNothingElse) {
  build(GetParam().folders);
  hold_file();
  run.write_before_clean = true;

  registry_clean_thread(nullptr);

  EXPECT_EQ(run.report_modes, std::vector<int>{2});
  std::size_t valid = 0, valid_deleted = 0, broken_left = 0;
  for (const corpus_entry& e : corpus) {
    const bool there = present(e);
    valid += e.valid ? 1 : 0;
    if (e.valid && !there) ++valid_deleted;
    if (!e.valid && there) ++broken_left;
    EXPECT_EQ(there, e.valid) << e.what;
  }
  std::printf("[ %s ] %zu entries, %zu valid: valid entries deleted = %zu, broken left = %zu\n",
              GetParam().name, corpus.size(), valid, valid_deleted, broken_left);
  EXPECT_EQ(valid_deleted, 0u);
  EXPECT_EQ(broken_left, 0u);
  EXPECT_EQ(run.open_at_report, corpus.size() - valid + 1) << "broken entries and the empty key";
  EXPECT_EQ(registry_store().open_problem_count, 1) << "the key that gained a value";
  // The key that gained a value is still judged a problem, only kept.
  EXPECT_EQ(problems(), (std::set<std::wstring>{
                            L"HKEY_CURRENT_USER\\Software\\Gains Value|"}));
}

const folders_case folders_cases[] = {
    {"ShellFoldersPresent", shell_folders::present},
    {"ShellFoldersMissing", shell_folders::missing},
    {"ShellFoldersEmpty", shell_folders::empty},
};

INSTANTIATE_TEST_SUITE_P(Cases, CleanRun, ::testing::ValuesIn(folders_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using ScanOnly = RealTable;

// Catches a checker that misjudges an entry without any deletion to show it,
// and a scan that writes to the registry.
TEST_F(ScanOnly, ReportsExactlyTheBrokenEntriesAndChangesNothing) {
  build();
  hold_file();
  const std::set<std::wstring> before = snapshot();

  registry_scan_thread(nullptr);

  EXPECT_EQ(run.report_modes, std::vector<int>{1});
  EXPECT_EQ(problems(), expected_problems(true));
  EXPECT_EQ(snapshot(), before);
}

struct stop_case {
  const char* name;
  const wchar_t* prefix;  // stop on the first item under it
  std::vector<int> report_modes;
};

class CleanStop : public RealTable, public ::testing::WithParamInterface<stop_case> {};

// Catches a stop that still lets the clean loop delete: in the third phase
// the run ends without a report; in the seventh the scan completes and is
// reported, but nothing is deleted either. The phase in hand ends after its
// item.
TEST_P(CleanStop, DeletesNothing) {
  build();
  const std::set<std::wstring> before = snapshot();
  run.stop_at_prefix = GetParam().prefix;

  registry_clean_thread(nullptr);

  ASSERT_TRUE(run.stopped);
  EXPECT_EQ(run.report_modes, GetParam().report_modes);
  EXPECT_EQ(run.items_after_stop, 0u) << "the enumeration went on after the stop";
  EXPECT_EQ(snapshot(), before);
  EXPECT_GT(registry_store().open_problem_count, 0);
}

const stop_case stop_cases[] = {
    {"InTheRunEntries", L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
     {}},
    {"InTheStartMenuPhase",
     L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder",
     {2}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CleanStop, ::testing::ValuesIn(stop_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
