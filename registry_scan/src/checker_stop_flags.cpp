#include "regscan/checker_stop_flags.h"

namespace regscan {

std::array<std::atomic<bool>, 8> checker_stop_flags{};

void stop_all_checkers() {
  for (std::atomic<bool>& flag : checker_stop_flags) flag = true;
}

}  // namespace regscan
