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

// The key path the user is shown: a class of either hive under the
// HKEY_CLASSES_ROOT path.
std::wstring shown_path(const corpus_entry& e) {
  const std::wstring classes = L"Software\\Classes\\CLSID\\";
  if (e.key.compare(0, classes.size(), classes) == 0)
    return L"HKEY_CLASSES_ROOT\\CLSID\\" + e.key.substr(classes.size());
  return root_name(e.root) + L"\\" + e.key;
}

// What the hooks see, and where a test presses stop.
struct run_journal {
  std::vector<int> report_modes;
  std::vector<std::size_t> open_at_report;
  std::wstring stop_at_prefix;  // stop on the first item whose key path starts so
  bool stopped = false;
  std::size_t items_after_stop = 0;
  bool write_before_clean = false;
  // Called once, from the first report, before anything is deleted.
  void (*repair)(const SandboxedRegistry&) = nullptr;
  const SandboxedRegistry* fixture = nullptr;
  std::vector<UINT> error_modes;  // the worker thread's, at every record
};
run_journal* journal = nullptr;

void on_progress(const scan_progress* record) {
  journal->error_modes.push_back(GetThreadErrorMode());
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
  std::size_t open = 0;
  for (const auto& group : *groups)
    for (const auto& issue : group) open += issue.fixed == 0 ? 1 : 0;
  journal->open_at_report.push_back(open);
  // Between the scan part and the clean loop the empty key gains a value.
  if (journal->write_before_clean && journal->report_modes.size() == 1)
    set_text(HKEY_CURRENT_USER, L"Software\\Gains Value", L"v", L"1");
  if (journal->repair != nullptr && journal->report_modes.size() == 1)
    journal->repair(*journal->fixture);
}

class RealTable : public CategoryCorpus {
 protected:
  void SetUp() override {
    CategoryCorpus::SetUp();
    ASSERT_TRUE(sandbox && sandbox->active()) << "never run the real table outside the sandbox";
    journal = &run;
    run.fixture = this;
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
      if (!e.valid || empty_now) expected.insert(shown_path(e) + L"|" + e.value);
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

  EXPECT_EQ(run.report_modes, (std::vector<int>{2, 2}));
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
  EXPECT_EQ(run.open_at_report,
            (std::vector<std::size_t>{corpus.size() - valid + 1, 0}))
      << "broken entries and the empty key; none left open after the clean";
  EXPECT_EQ(registry_store().open_problem_count, 0);
  // The key that gained a value was left alone and is a fine item now.
  EXPECT_TRUE(problems().empty());
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

// Catches a worker that lets a look at an empty drive raise a "no disk" box,
// which stalls the run until someone answers it, and a thread mode that is
// not put back when the run ends.
TEST_F(ScanOnly, WorkersRunWithCriticalErrorBoxesOff) {
  set_text(HKEY_CURRENT_USER, run_key, L"gone", path(L"missing\\gone.exe"));
  DWORD caller_mode = 0;
  ASSERT_TRUE(SetThreadErrorMode(0, &caller_mode));
  for (unsigned(__stdcall * worker)(void*) : {&registry_scan_thread, &registry_clean_thread}) {
    run.error_modes.clear();
    worker(nullptr);
    ASSERT_GT(run.error_modes.size(), 7u);
    for (const UINT mode : run.error_modes) EXPECT_NE(mode & SEM_FAILCRITICALERRORS, 0u);
    EXPECT_EQ(GetThreadErrorMode(), 0u) << "the thread's mode was not put back";
  }
  EXPECT_FALSE(value_exists(HKEY_CURRENT_USER, run_key, L"gone"));
  SetThreadErrorMode(caller_mode, nullptr);
}

struct stop_case {
  const char* name;
  const wchar_t* prefix;  // stop on the first item under it
  std::vector<int> report_modes;
};

class CleanStop : public RealTable, public ::testing::WithParamInterface<stop_case> {};

// Catches a stop that still lets the clean loop delete: in the third phase
// the run ends without a report; in the seventh the scan completes and is
// reported (in the stopped clean's mode), but nothing is deleted either. The
// phase in hand ends after its item.
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
     {4, 4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CleanStop, ::testing::ValuesIn(stop_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using fixture = const SandboxedRegistry&;

const std::wstring app_paths = app_paths_key;
const std::wstring menu = menu_order_key;
const std::wstring classes = L"Software\\Classes\\CLSID\\{7E55A2E1-0000-0000-0000-000000000040}";

struct repair_case {
  const char* name;
  HKEY root;
  std::wstring key;
  const wchar_t* value;  // null: the entry is the key
  void (*plant)(fixture);
  void (*repair)(fixture);
  bool still_open;  // changed after the scan, but still a problem
};

void set_app_path(fixture f, const wchar_t* file) {
  set_text(HKEY_LOCAL_MACHINE, app_paths + L"\\fix.exe", L"", f.path(file));
}
void set_run_entry(fixture f, const wchar_t* file) {
  set_text(HKEY_CURRENT_USER, run_key, L"fix", f.path(file));
}
void restore_file(fixture f, const wchar_t* file) {
  f.make_folder(L"missing");
  f.make_file(file);
}

// Catches a deleter that trusts the scan's verdict: between the scan and the
// deletion an installer or the user may repair the entry, which must then
// survive and show as fine. An entry changed to another broken text stays
// and stays open: it is not what the scan judged.
const repair_case repair_cases[] = {
    {"AppPathFileRestored", HKEY_LOCAL_MACHINE, app_paths + L"\\fix.exe", nullptr,
     [](fixture f) { set_app_path(f, L"missing\\fix.exe"); },
     [](fixture f) { restore_file(f, L"missing\\fix.exe"); }, false},
    {"AppPathPointedElsewhere", HKEY_LOCAL_MACHINE, app_paths + L"\\fix.exe", nullptr,
     [](fixture f) { set_app_path(f, L"missing\\fix.exe"); },
     [](fixture f) { set_app_path(f, L"tool.exe"); }, false},
    {"AppPathChangedStillBroken", HKEY_LOCAL_MACHINE, app_paths + L"\\fix.exe", nullptr,
     [](fixture f) { set_app_path(f, L"missing\\fix.exe"); },
     [](fixture f) { set_app_path(f, L"missing\\other.exe"); }, true},
    {"HelpFileRestored", HKEY_LOCAL_MACHINE, help_key, L"fix.hlp",
     [](fixture f) { set_text(HKEY_LOCAL_MACHINE, help_key, L"fix.hlp", f.path(L"missing")); },
     [](fixture f) { restore_file(f, L"missing\\fix.hlp"); }, false},
    {"RunEntryPointedElsewhere", HKEY_CURRENT_USER, run_key, L"fix",
     [](fixture f) { set_run_entry(f, L"missing\\fix.exe"); },
     [](fixture f) { set_run_entry(f, L"tool.exe"); }, false},
    {"RunEntryChangedStillBroken", HKEY_CURRENT_USER, run_key, L"fix",
     [](fixture f) { set_run_entry(f, L"missing\\fix.exe"); },
     [](fixture f) { set_run_entry(f, L"missing\\other.exe"); }, true},
    {"SharedDllRestored", HKEY_LOCAL_MACHINE, shared_dlls_key, L"",
     [](fixture f) {
       set_value(HKEY_LOCAL_MACHINE, shared_dlls_key, f.path(L"missing\\fix.dll"), REG_DWORD,
                 {1, 0, 0, 0});
     },
     [](fixture f) { restore_file(f, L"missing\\fix.dll"); }, false},
    {"SoftwareKeyGainsValue", HKEY_CURRENT_USER, L"Software\\Fix Vendor", nullptr,
     [](fixture) { make_key(HKEY_CURRENT_USER, L"Software\\Fix Vendor"); },
     [](fixture) { set_text(HKEY_CURRENT_USER, L"Software\\Fix Vendor", L"v", L"1"); }, false},
    {"ClassServerRestored", HKEY_LOCAL_MACHINE, classes, nullptr,
     [](fixture f) {
       set_text(HKEY_LOCAL_MACHINE, classes + L"\\InprocServer32", L"", f.path(L"missing\\fix.dll"));
     },
     [](fixture f) { restore_file(f, L"missing\\fix.dll"); }, false},
    {"ClassGainsTreatAs", HKEY_LOCAL_MACHINE, classes, nullptr,
     [](fixture f) {
       set_text(HKEY_LOCAL_MACHINE, classes + L"\\InprocServer32", L"", f.path(L"missing\\fix.dll"));
     },
     [](fixture) { set_text(HKEY_LOCAL_MACHINE, classes + L"\\TreatAs", L"", L"{1}"); }, false},
    {"StartMenuFolderCreated", HKEY_CURRENT_USER, menu + L"\\Fix Folder", nullptr,
     [](fixture f) {
       f.make_folder(L"Programs");
       set_text(HKEY_CURRENT_USER, shell_folders_key, user_programs_value, f.path(L"Programs"));
       make_key(HKEY_CURRENT_USER, menu + L"\\Fix Folder");
     },
     [](fixture f) { f.make_folder(L"Programs\\Fix Folder"); }, false},
};

class RepairedBeforeTheClean : public RealTable,
                               public ::testing::WithParamInterface<repair_case> {};

TEST_P(RepairedBeforeTheClean, SurvivesAndShowsFine) {
  const repair_case& c = GetParam();
  make_file(L"tool.exe");
  c.plant(*this);
  // The shared DLL's value name is its path, known only now.
  const std::wstring value = c.value == nullptr ? L""
                             : *c.value == L'\0' ? path(L"missing\\fix.dll")
                                                 : c.value;
  const corpus_entry entry{c.name, c.root, c.key, value, c.value == nullptr, true};
  run.repair = c.repair;

  registry_clean_thread(nullptr);

  EXPECT_TRUE(present(entry)) << "the repaired entry was deleted";
  ASSERT_EQ(run.open_at_report.size(), 2u);
  EXPECT_EQ(run.open_at_report[0], 1u) << "the scan judged it a problem";
  const std::wstring shown = shown_path(entry);
  std::size_t matches = 0;
  const issue_store& store = registry_store();
  for (std::size_t cell = 0; cell < store.issue_groups.size(); ++cell) {
    for (const dravik::registry_issue& issue : store.issue_groups[cell]) {
      if (issue.key_path != shown || issue.value_name != value) continue;
      ++matches;
      EXPECT_EQ(issue.fixed, c.still_open ? 0 : 1);
      EXPECT_EQ(issue.problem == L"Normal", !c.still_open) << "the cell's detail shows it fine";
      EXPECT_EQ(store.cell_states.at(cell), c.still_open ? cell_open_issue : cell_fine);
    }
  }
  EXPECT_EQ(matches, 1u);
  EXPECT_EQ(store.open_problem_count, c.still_open ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RepairedBeforeTheClean, ::testing::ValuesIn(repair_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
