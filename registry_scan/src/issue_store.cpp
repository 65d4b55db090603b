#include "regscan/issue_store.h"

namespace regscan {

issue_store& registry_store() {
  static issue_store store;
  return store;
}

void reset_cell_states() {
  issue_store& store = registry_store();
  store.cell_states.reset();
  store.state_write_pos = 0;
}

void reset_issue_groups() {
  issue_store& store = registry_store();
  store.open_problem_count = 0;
  store.issue_groups.assign(registry_cell_count, dravik::issue_group{});
  store.issue_hives.assign(registry_cell_count, std::vector<item_hive>{});
  store.group_write_pos = 0;
}

void add_found_item(const found_item& item) {
  issue_store& store = registry_store();
  if (store.issue_groups.empty()) return;  // never reset: no cell to hold it
  dravik::registry_issue issue;
  issue.fixed = item.status == item_problem ? 0 : 1;
  issue.category = store.current_category.load();
  issue.problem = item.problem;
  issue.key_path = item.key_path;
  issue.value_name = item.value_name;
  issue.data = item.data;

  if (store.group_write_pos >= store.issue_groups.size()) store.group_write_pos = 0;
  if (store.issue_hives.size() != store.issue_groups.size())
    store.issue_hives.resize(store.issue_groups.size());
  store.issue_groups[store.group_write_pos].push_back(std::move(issue));
  store.issue_hives[store.group_write_pos].push_back(item.hive);
  ++store.group_write_pos;
  if (item.status == item_problem) ++store.open_problem_count;
}

item_hive hive_of_issue(std::size_t group, std::size_t position) {
  const issue_store& store = registry_store();
  if (group >= store.issue_hives.size() || position >= store.issue_hives[group].size())
    return hive_as_named;
  return store.issue_hives[group][position];
}

std::int32_t group_state(const dravik::issue_group& group) {
  if (group.empty()) return cell_empty;
  for (const dravik::registry_issue& issue : group) {
    if (issue.fixed == 0) return cell_open_issue;
  }
  return cell_fine;
}

void store_group_state() {
  issue_store& store = registry_store();
  if (store.group_write_pos == 0 || store.cell_states.empty()) return;
  const std::int32_t code = group_state(store.issue_groups[store.group_write_pos - 1]);
  if (store.state_write_pos >= store.cell_states.size()) store.state_write_pos = 0;
  store.cell_states.store(store.state_write_pos, code);
  ++store.state_write_pos;
}

}  // namespace regscan
