#pragma once
// One stop request per registry category, indexed by category number (4 is
// never used). A category's phase clears its own flag before it enumerates;
// every stop of the owner sets all of them. The user interface thread
// writes them while the registry worker polls them, hence atomics.

#include <array>
#include <atomic>

namespace regscan {

extern std::array<std::atomic<bool>, 8> checker_stop_flags;

// Sets every category's flag. Any thread.
void stop_all_checkers();

}  // namespace regscan
