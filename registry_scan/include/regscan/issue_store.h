#pragma once
// The program-wide store of the registry scanner: every examined item of the
// last run, grouped by the map cell it landed in, and the cell codes the map
// shows. The cells form a ring: the n-th item of a run (from 0) lands in cell
// n mod 2565, behind whatever that cell already holds.
//
// Threads: the registry worker writes the store while it runs; the owner
// resets it while no worker runs. The user interface reads cell_states and
// open_problem_count at any time, and issue_groups only while no worker runs.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dravik/registry_issue.h"
#include "regscan/cell_states.h"
#include "regscan/found_item.h"

namespace regscan {

struct issue_store {
  // One group per cell after reset_issue_groups; index = cell number. This
  // container is what the engine's report reads.
  dravik::issue_groups issue_groups;
  // Where each issue of issue_groups lives, in the same shape: the program's
  // own record, which the engine never sees.
  std::vector<std::vector<item_hive>> issue_hives;
  cell_state_table cell_states;
  // The next cell to fill in each container; they move in step.
  std::size_t group_write_pos = 0;
  std::size_t state_write_pos = 0;
  // Category of the phase being scanned; copied into every new issue.
  std::atomic<std::uint32_t> current_category{0};
  // Open problems: +1 per problem found, -1 per issue deleted.
  std::atomic<std::int32_t> open_problem_count{0};
};

// The one store of the program (empty containers until the first resets).
issue_store& registry_store();

// Every cell code becomes 0 (the table keeps its 2565 cells); the state write
// position goes back to the first cell.
void reset_cell_states();

// 2565 empty groups (and their hives), the group write position on the
// first, the open-problem count 0.
void reset_issue_groups();

// Appends a copy of item to the group at the group write position (going
// back to the first group when the position stands at the end) and advances
// the position. The issue is open (fixed 0, the count + 1) for a problem,
// fine (fixed 1) otherwise; its category is current_category.
void add_found_item(const found_item& item);

// Where the issue at position of group lives; hive_as_named when the store
// has no such issue.
item_hive hive_of_issue(std::size_t group, std::size_t position);

// The code the cells of a group show: cell_empty for no issue,
// cell_open_issue when one is open, cell_fine otherwise.
std::int32_t group_state(const dravik::issue_group& group);

// Writes the code of the group just filled (the one before the group write
// position) at the state write position, going back to the first cell at
// the end, and advances that position.
void store_group_state();

}  // namespace regscan
