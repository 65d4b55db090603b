#include "fake_registry.h"

#include "regscan/issue_store.h"
#include "regscan/item_found.h"
#include "regscan/scan_hooks.h"

namespace regscan::testing {

namespace {

fake_registry* active = nullptr;

void run_phase(std::uint32_t category) {
  active->phases_run.push_back(category);
  const auto found = active->items.find(category);
  if (found == active->items.end()) return;
  for (std::size_t i = 0; i < found->second.size(); ++i) {
    if (const found_item_hook hook = found_item_callback.load()) hook(&found->second[i]);
    // The stop arrives while this item is in hand: the phase ends after it.
    if (category == active->stop_category && i == active->stop_item && active->stop_flag) {
      *active->stop_flag = true;
      return;
    }
  }
}

template <std::uint32_t category>
void fake_phase() {
  run_phase(category);
}

int fake_delete(const std::wstring& key_path, const std::wstring&) {
  active->delete_calls.push_back(key_path);
  if (active->refused.count(key_path) != 0) return -1;
  active->deleted.push_back(key_path);
  if (key_path == active->stop_on_delete && active->stop_flag) *active->stop_flag = true;
  return 0;
}

void record_progress(const scan_progress* record) { active->records.push_back(*record); }

void __cdecl record_report(dravik::issue_groups* groups, int mode) {
  report_call call;
  call.mode = mode;
  call.groups = groups->size();
  for (const auto& group : *groups) {
    for (const auto& issue : group) call.open_issues += issue.fixed == 0 ? 1 : 0;
  }
  call.deleted_before = active->deleted.size();
  active->reports.push_back(call);
}

}  // namespace

found_item problem_item(const std::wstring& key_path, const std::wstring& problem) {
  found_item item;
  item.status = item_problem;
  item.problem = problem;
  item.key_path = key_path;
  item.value_name = L"value";
  item.data = L"C:\\missing\\program.exe";
  return item;
}

found_item fine_item(const std::wstring& key_path) {
  found_item item;
  item.status = item_fine;
  item.problem = L"Normal";
  item.key_path = key_path;
  item.data = L"C:\\windows\\notepad.exe";
  return item;
}

void RegistryScan::SetUp() {
  active = &fake;
  category_table table{};
  table[0] = {&fake_phase<0>, &fake_delete};
  table[1] = {&fake_phase<1>, &fake_delete};
  table[2] = {&fake_phase<2>, &fake_delete};
  table[3] = {&fake_phase<3>, &fake_delete};
  table[5] = {&fake_phase<5>, &fake_delete};
  table[6] = {&fake_phase<6>, &fake_delete};
  table[7] = {&fake_phase<7>, &fake_delete};
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
  std::size_t count = 0;
  for (const auto& record : fake.records) count += record.type == type ? 1 : 0;
  return count;
}

}  // namespace regscan::testing
