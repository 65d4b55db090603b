#include "regscan/scan_hooks.h"

namespace regscan {

std::atomic<found_item_hook> found_item_callback{nullptr};
std::atomic<progress_hook> progress_callback{nullptr};
std::atomic<report_hook> save_registry_report{nullptr};

std::atomic<bool> scan_stop_flag{false};
std::atomic<bool> clean_stop_flag{false};

void send_progress(const scan_progress& record) {
  if (const progress_hook hook = progress_callback.load()) hook(&record);
}

void hand_over_report(dravik::issue_groups& groups, int mode) {
  if (const report_hook hook = save_registry_report.load()) hook(&groups, mode);
}

}  // namespace regscan
