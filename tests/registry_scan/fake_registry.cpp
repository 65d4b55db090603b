#include "fake_registry.h"

#include "regscan/issue_store.h"
#include "regscan/item_found.h"
#include "regscan/scan_hooks.h"

namespace regscan::testing {

namespace {

fake_registry* active = nullptr;

template <std::uint32_t category>
void fake_phase() {
  active->phases_run.push_back(category);
  const std::vector<found_item>& items = active->items[category];
  for (std::size_t i = 0; i < items.size(); ++i) {
    found_item_callback.load()(&items[i]);
    // The stop arrives while this item is in hand: the phase ends after it.
    if (category == active->stop_category && i == active->stop_item && active->stop_flag) {
      *active->stop_flag = true;
      return;
    }
  }
}

int fake_delete(const dravik::registry_issue& issue, item_hive) {
  const std::wstring& key_path = issue.key_path;
  active->delete_calls.push_back(key_path);
  if (active->refused.count(key_path) != 0) return -1;
  active->deleted.push_back(key_path);
  if (key_path == active->stop_on_delete && active->stop_flag) *active->stop_flag = true;
  return 0;
}

void record_progress(const scan_progress* record) { active->records.push_back(*record); }

void __cdecl record_report(dravik::issue_groups* groups, int mode) {
  report_call call{mode, groups->size(), 0, active->deleted.size()};
  for (const auto& group : *groups) {
    for (const auto& issue : group) call.open_issues += issue.fixed == 0 ? 1 : 0;
  }
  active->reports.push_back(call);
}

}  // namespace

found_item problem_item(const std::wstring& key_path, const std::wstring& problem) {
  return {item_problem, problem, key_path, L"value", L"C:\\missing\\program.exe"};
}

found_item fine_item(const std::wstring& key_path) {
  return {item_fine, L"Normal", key_path, L"", L"C:\\windows\\notepad.exe"};
}

void RegistryScan::SetUp() {
  active = &fake;
  const category_table table{{{&fake_phase<0>, &fake_delete},
                              {&fake_phase<1>, &fake_delete},
                              {&fake_phase<2>, &fake_delete},
                              {&fake_phase<3>, &fake_delete},
                              {},
                              {&fake_phase<5>, &fake_delete},
                              {&fake_phase<6>, &fake_delete},
                              {&fake_phase<7>, &fake_delete}}};
  previous_table_ = install_category_table(table);
  found_item_callback = &on_registry_item_found;
  progress_callback = &record_progress;
  save_registry_report = &record_report;
  scan_stop_flag = false;
  clean_stop_flag = false;
}

void RegistryScan::TearDown() {
  install_category_table(previous_table_);
  found_item_callback = nullptr;
  progress_callback = nullptr;
  save_registry_report = nullptr;
  active = nullptr;
}

std::size_t RegistryScan::steps() const {
  std::size_t count = 0;
  for (const auto& record : fake.records) {
    if (record.type <= progress_clean && record.step == 1) ++count;
  }
  return count;
}

std::size_t RegistryScan::count_of_type(std::uint32_t type) const {
  return records_of_type(type).size();
}

std::vector<scan_progress> RegistryScan::records_of_type(std::uint32_t type) const {
  std::vector<scan_progress> of_type;
  for (const auto& record : fake.records) {
    if (record.type == type) of_type.push_back(record);
  }
  return of_type;
}

}  // namespace regscan::testing
