#include "scan_phases.h"

#include "regscan/category_table.h"
#include "regscan/issue_store.h"
#include "regscan/scan_hooks.h"

namespace regscan {

bool run_scan_phases(const std::atomic<bool>& stop_flag) {
  reset_cell_states();
  reset_issue_groups();
  issue_store& store = registry_store();
  const category_table& table = current_category_table();
  for (std::size_t order = 0; order < scan_order.size(); ++order) {
    const std::uint32_t category = scan_order[order];
    store.current_category = category;
    if (const phase_operation phase = table[category].phase) phase();
    // A stop during the last phase only shortens it: the run still completes
    // and reports what was found.
    const bool last = order + 1 == scan_order.size();
    if (!last && stop_flag.load()) return false;
    scan_progress record;
    record.type = progress_scan;
    record.step = 1;
    send_progress(record);
  }
  return true;
}

}  // namespace regscan
