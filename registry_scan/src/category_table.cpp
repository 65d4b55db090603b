#include "regscan/category_table.h"

#include <utility>

namespace regscan {

namespace {
category_table& table_in_use() {
  static category_table table{};
  return table;
}
}  // namespace

const category_table& current_category_table() { return table_in_use(); }

category_table install_category_table(const category_table& table) {
  return std::exchange(table_in_use(), table);
}

int delete_issue(const dravik::registry_issue& issue, item_hive hive) {
  const category_table& table = table_in_use();
  if (issue.category >= table.size()) return -1;
  const issue_deleter deleter = table[issue.category].deleter;
  if (deleter == nullptr) return -1;
  const int result = deleter(issue, hive);
  return result == 0 || result == 1 ? result : -1;
}

}  // namespace regscan
