#include "regscan/category_table.h"
#include "regscan/category_texts.h"
#include "regscan/issue_store.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"
#include "thread_error_mode.h"

namespace regscan {

namespace {

// Deletes the open issues of one group, sending a record per open issue.
// The record keeps the last text sent, which an empty group's step repeats.
void clean_group(std::size_t index, scan_progress& record) {
  issue_store& store = registry_store();
  dravik::issue_group& group = store.issue_groups[index];
  for (std::size_t position = 0; position < group.size(); ++position) {
    dravik::registry_issue& issue = group[position];
    if (clean_stop_flag.load()) break;
    if (issue.fixed != 0) continue;
    const int result = delete_issue(issue, hive_of_issue(index, position));
    if (result == 0 || result == 1) {
      // Deleted, or left alone because it was repaired since the scan: then
      // it is a fine item now, which the report does not count as repaired.
      issue.fixed = 1;
      if (result == 1) issue.problem = fine_text;
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
  // For the whole run, its end record included.
  const critical_errors_off no_error_boxes;
  try {
    clean_stop_flag = false;
    if (scan_registry_for_clean()) {
      clean_open_issues();
      // Again once the clean has ended, complete or stopped: the report then
      // counts as repaired only what was deleted.
      hand_over_clean_report(registry_store().issue_groups);
    }
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
