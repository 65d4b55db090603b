#pragma once
// The move of one file as the status poll sees it: moving is 1 from the
// choice of a target until the file is done, whichever way it ends, and the
// poll count starts again for every file.

#include <atomic>

#include "state/status_feed.h"

namespace dravik {

class moving_scope {
 public:
  // The caller publishes the move's source and target first, so a poll
  // never shows the previous file's.
  explicit moving_scope(status_feed& status) noexcept : status_(status) {
    status_.move_poll_count.store(0, std::memory_order_relaxed);
    status_.moving = 1;
  }
  ~moving_scope() { status_.moving = 0; }
  moving_scope(const moving_scope&) = delete;
  moving_scope& operator=(const moving_scope&) = delete;

 private:
  status_feed& status_;
};

}  // namespace dravik
