#pragma once
// What connects the scanner to its owner: three hooks the owner sets before
// the first run, and the two stop requests its stop buttons set. All are
// atomics: the user interface thread writes them while a worker polls them.

#include <atomic>

#include "dravik/registry_issue.h"
#include "regscan/found_item.h"
#include "regscan/scan_progress.h"

namespace regscan {

using found_item_hook = void (*)(const found_item* item);
using progress_hook = void (*)(const scan_progress* record);
// The shape of the engine's DLL_SaveRegistryReport export.
using report_hook = void(__cdecl*)(dravik::issue_groups* groups, int mode);

// Called by every checker for every examined item; the owner sets it to
// on_registry_item_found. Null: items are dropped.
extern std::atomic<found_item_hook> found_item_callback;
// Receives every progress record, on the worker's thread. Null: none is sent.
extern std::atomic<progress_hook> progress_callback;
// Bound to the engine's report export; null when the engine or the export is
// missing, and the hand-over is then skipped.
extern std::atomic<report_hook> save_registry_report;

// Stop requests of the scan-only run and of the scan-and-clean run. Each run
// clears its own flag when it starts.
extern std::atomic<bool> scan_stop_flag;
extern std::atomic<bool> clean_stop_flag;

// Hands record to progress_callback when one is set. Worker thread.
void send_progress(const scan_progress& record);

// Hands groups to save_registry_report when one is set. Worker thread.
void hand_over_report(dravik::issue_groups& groups, int mode);

// The scan-and-clean run's hand-over: mode 2, or once clean_stop_flag is set
// the stopped clean's mode, whose page is still written but which leaves the
// registry report out of the next job's report set, as the stop left it.
void hand_over_clean_report(dravik::issue_groups& groups);

}  // namespace regscan
