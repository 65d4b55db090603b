#pragma once
// How the runs reach the seven registry categories: per category number, the
// phase that enumerates its locations and the deleter of its issues. The
// categories' own code fills the table; tests install fakes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "dravik/registry_issue.h"
#include "regscan/found_item.h"

namespace regscan {

// Clears its category's stop flag, enumerates the category's locations and
// calls found_item_callback once per examined item. Worker thread.
using phase_operation = void (*)();
// Deletes one issue of its category, found in hive, after judging it again:
// 0 when it was deleted; 1 when it was left because its check no longer
// calls it a problem; -1 on any other failure. Worker thread.
using issue_deleter = int (*)(const dravik::registry_issue& issue, item_hive hive);

struct category_entry {
  phase_operation phase = nullptr;  // null: the phase finds nothing
  issue_deleter deleter = nullptr;  // null: every issue of the category stays
};

// Index = category number, 0 to 7; number 4 is not used.
using category_table = std::array<category_entry, 8>;

// The order in which a run scans the categories.
constexpr std::array<std::uint32_t, 7> scan_order{0, 1, 2, 5, 7, 6, 3};

// The table the runs use; all empty until one is installed.
const category_table& current_category_table();

// Makes a copy of table the one the runs use and returns the one replaced.
// Only while no worker runs.
category_table install_category_table(const category_table& table);

// Runs the deleter of the issue's category: 0 deleted, 1 left as now fine,
// -1 otherwise (also when the category has none or its number is out of
// the table).
int delete_issue(const dravik::registry_issue& issue, item_hive hive);

}  // namespace regscan
