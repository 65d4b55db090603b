#include "core/engine_lifetime.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <new>

#include "core/engine_workers.h"

namespace dravik {

namespace {

// Written only by load and unload, on the thread that loads or frees the
// library; read by the exports and workers on theirs.
std::atomic<engine_state*> loaded{nullptr};

// Asks running workers to stop and waits until they have cleared their
// pointers and the run export waiting for them has returned, or the wait is
// over. True when nothing runs inside the engine any more.
bool stop_workers(engine_state& engine, std::chrono::milliseconds worker_wait) {
  if (!run_in_progress(engine.job)) return true;
  engine.job.stop_requested = 1;
  const auto deadline = std::chrono::steady_clock::now() + worker_wait;
  while (run_in_progress(engine.job) && std::chrono::steady_clock::now() < deadline) {
    // The workers test the stop between directory entries: a short poll
    // keeps the unload quick without spinning.
    Sleep(10);
  }
  if (run_in_progress(engine.job)) return false;
  settle_worker_ends(engine.job);
  return true;
}

}  // namespace

engine_state* current_engine() noexcept { return loaded.load(std::memory_order_acquire); }

bool load_engine(const engine_load_options& options) noexcept {
  if (current_engine() != nullptr) return false;
  std::unique_ptr<engine_state> engine;
  try {
    engine = std::make_unique<engine_state>(options);
  } catch (...) {
    return false;
  }
  loaded.store(engine.get(), std::memory_order_release);
  if (!afx_library_attach()) {
    loaded.store(nullptr, std::memory_order_release);
    return false;
  }
  engine.release();
  return true;
}

void unload_engine(std::chrono::milliseconds worker_wait) noexcept {
  engine_state* engine = current_engine();
  if (engine == nullptr) return;
  const bool stopped = stop_workers(*engine, worker_wait);
  afx_library_detach();
  loaded.store(nullptr, std::memory_order_release);
  if (stopped) delete engine;
}

}  // namespace dravik
