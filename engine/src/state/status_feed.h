#pragma once
// What the worker publishes for the status poll: the progress pair, the entry
// the walk read last, and the move in progress.

#include <atomic>
#include <cstdint>

#include "state/shared_name.h"
#include "state/shared_value.h"

namespace dravik {

struct status_feed {
  // Worker writes, status poll reads.
  shared_value<uint8_t> moving{0};      // 1 while a mover or the pass moves a file
  shared_value<uint8_t> optimising{0};  // 1 while the optimisation pass runs

  // Mover resets it for each file, every status poll while moving counts it
  // up: the only value both sides write, hence a full atomic.
  std::atomic<uint64_t> move_poll_count{0};
  // Worker writes (set_move_request), status poll reads.
  shared_value<uint64_t> move_source{0};  // starting VCN of the move request
  shared_value<uint64_t> move_target{0};  // starting LCN of the move request
  // The optimisation pass writes the recorded position of the entry it
  // moves: the source the status shows while optimising.
  shared_value<uint64_t> optimize_source{0};

  // Worker writes, status poll reads: the progress pair, and the name of the
  // directory entry the walk read last (set for every entry it reads).
  shared_value<uint64_t> totalUnits{0};
  shared_value<uint64_t> doneUnits{0};
  shared_name current_entry_name;
};

}  // namespace dravik
