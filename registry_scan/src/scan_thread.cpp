#include "regscan/registry_workers.h"

#include "regscan/issue_store.h"
#include "regscan/scan_hooks.h"
#include "scan_phases.h"
#include "thread_error_mode.h"

namespace regscan {

namespace {
void send_end(std::uint32_t type) {
  scan_progress record;
  record.type = type;
  send_progress(record);
}
}  // namespace

unsigned __stdcall registry_scan_thread(void*) {
  // For the whole run, its end record included.
  const critical_errors_off no_error_boxes;
  try {
    scan_stop_flag = false;
    if (run_scan_phases(scan_stop_flag)) {
      hand_over_report(registry_store().issue_groups, 1);
    }
  } catch (...) {
    // Out of memory in a phase or a hook: the run ends as if stopped, so the
    // owner still gets its end record.
  }
  try {
    send_end(progress_scan_end);
  } catch (...) {
  }
  return 0;
}

bool scan_registry_for_clean() {
  if (!run_scan_phases(clean_stop_flag)) return false;
  issue_store& store = registry_store();
  store.group_write_pos = 0;
  store.state_write_pos = 0;
  // A stop in the last phase ends that phase early and the scan part still
  // completes: its hand-over then comes after the stop.
  hand_over_clean_report(store.issue_groups);
  return true;
}

}  // namespace regscan
