#pragma once

#include <atomic>

namespace regscan {

// Resets the store and runs the seven phases in scan order, each after
// setting current_category, sending a step record after each. True when all
// seven ran; false when stop_flag was set after one of the first six (no
// record is sent for that phase).
bool run_scan_phases(const std::atomic<bool>& stop_flag);

}  // namespace regscan
