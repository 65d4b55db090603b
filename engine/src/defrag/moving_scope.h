#pragma once
// The move of one file as the status poll sees it: moving is 1 from the
// choice of a target until the file is done, whichever way it ends, and the
// poll count starts again for every file.

#include "core/engine_context.h"

namespace dravik {

class moving_scope {
 public:
  // The caller publishes the move's source and target first, so a poll
  // never shows the previous file's.
  explicit moving_scope(engine_context& context) noexcept : context_(context) {
    context_.move_poll_count.store(0, std::memory_order_relaxed);
    context_.moving = 1;
  }
  ~moving_scope() { context_.moving = 0; }
  moving_scope(const moving_scope&) = delete;
  moving_scope& operator=(const moving_scope&) = delete;

 private:
  engine_context& context_;
};

}  // namespace dravik
