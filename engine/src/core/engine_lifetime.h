#pragma once
// Loading and unloading the engine: what the library entry does at attach and
// detach, and what tests call to load the engine many times in one process.

#include <chrono>

#include "core/engine_state.h"

namespace dravik {

// How long an unload waits for running workers to see the stop.
constexpr std::chrono::milliseconds default_worker_wait{10000};

// Builds the engine's state and runs the application object's InitInstance
// on the calling thread. Returns false, with nothing left loaded, when the
// engine is loaded already or its state cannot be built. Never throws.
bool load_engine(const engine_load_options& options = {}) noexcept;

// Unloads the engine (nothing when it is not loaded). Running workers are
// asked to stop and waited for, together with the run export waiting on
// them, at most worker_wait; then ExitInstance saves the maps and flags. A
// worker still running after the wait keeps the state it works on: that
// state is left allocated rather than freed under it. The library entry
// passes 0 when the process is ending, since its threads are gone then.
// Never throws.
void unload_engine(std::chrono::milliseconds worker_wait = default_worker_wait) noexcept;

}  // namespace dravik
