#include "regscan/category_table.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"

namespace regscan {

namespace {

// Deletes the open issues of one group, sending a record per open issue.
// The record keeps the last text sent, which an empty group's step repeats.
void clean_group(std::size_t index, scan_progress& record) {
  issue_store& store = registry_store();
  dravik::issue_group& group = store.issue_groups[index];
  for (dravik::registry_issue& issue : group) {
    if (clean_stop_flag.load()) break;
    if (issue.fixed != 0) continue;
    if (delete_issue(issue) == 0) {
      issue.fixed = 1;
      store.cell_states.store(store.state_write_pos, group_state(group));
      --store.open_problem_count;
    }
    record.step = 0;
    record.text = issue.key_path;
    send_progress(record);
  }
  // The group in hand sends its step even after a stop, so the owner's bar
  // stays in step with the groups done.
  record.step = 1;
  if (!group.empty()) record.text = group.front().key_path;
  send_progress(record);
}

void clean_open_issues() {
  issue_store& store = registry_store();
  scan_progress record;
  record.type = progress_clean;
  for (std::size_t index = 0; index < store.issue_groups.size(); ++index) {
    if (clean_stop_flag.load()) break;
    // The state position stands on this group's cell while it is cleaned.
    store.state_write_pos = index;
    clean_group(index, record);
    store.state_write_pos = index + 1;
  }
}

}  // namespace

unsigned __stdcall registry_clean_thread(void*) {
  try {
    clean_stop_flag = false;
    if (scan_registry_for_clean()) clean_open_issues();
  } catch (...) {
    // Out of memory in a phase or a hook: the run ends as if stopped, so the
    // owner still gets its end record.
  }
  try {
    scan_progress record;
    record.type = progress_clean_end;
    send_progress(record);
  } catch (...) {
  }
  return 0;
}

}  // namespace regscan
