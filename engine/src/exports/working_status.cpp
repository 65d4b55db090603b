#include <cstring>

#include "dravik/run_exports.h"
#include "core/engine_state.h"

namespace dravik {

namespace {

// The state follows the two worker pointers and the optimising byte afresh
// on every poll; the progress pair of the last run stays while idle.
void refresh_working_status(engine_state& engine, WorkingStatus& status) {
  const job_control& job = engine.job;
  status_feed& feed = engine.status;

  status.volume = job.current_letter_text.first();
  feed.current_entry_name.copy_to(status.itemName, sizeof status.itemName);

  if (!slot_has_map(engine.volumes, job.current_slot)) {
    status.state = working_idle;
    status.totalUnits = 100;
    status.doneUnits = 1;
    return;
  }
  status.totalUnits = feed.totalUnits;
  status.doneUnits = feed.doneUnits;

  if (job.analysis_worker.load(std::memory_order_acquire) != nullptr) {
    status.state = working_analysing;
  } else if (job.defrag_worker.load(std::memory_order_acquire) != nullptr) {
    const bool optimising = feed.optimising != 0;
    status.state = optimising ? working_optimising : working_defragmenting;
    if (feed.moving != 0) {
      // Each poll moves both numbers on by one while one file is moved: the
      // host shows the move as progressing between the worker's updates.
      const uint64_t polls = feed.move_poll_count.fetch_add(1, std::memory_order_relaxed) + 1;
      const uint64_t source = optimising ? feed.optimize_source : feed.move_source;
      status.moveFrom = source + polls;
      status.moveTo = feed.move_target + polls;
    } else {
      status.moveFrom = 0;
      status.moveTo = 0;
    }
  } else {
    status.state = working_idle;
  }
}

}  // namespace

}  // namespace dravik

extern "C" WorkingStatus* __cdecl DLL_GetWorkingStatus(void) {
  using namespace dravik;
  static WorkingStatus unloaded{};
  engine_state* engine = current_engine();
  if (engine == nullptr) return &unloaded;
  try {
    refresh_working_status(*engine, engine->working_status);
  } catch (...) {
    // The name lock failed: the record keeps what the last poll wrote.
  }
  return &engine->working_status;
}
