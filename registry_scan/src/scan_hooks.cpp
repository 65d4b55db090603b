#include "regscan/scan_hooks.h"

#include "dravik/report_exports.h"

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

void hand_over_clean_report(dravik::issue_groups& groups) {
  // The stop button has told the engine first, which took the registry
  // report out of the next set: a hand-over after it must not put it back.
  hand_over_report(groups, clean_stop_flag.load() ? dravik::registry_report_stopped_clean
                                                  : dravik::registry_report_clean);
}

}  // namespace regscan
