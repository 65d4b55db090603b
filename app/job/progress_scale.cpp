#include "job/progress_scale.h"

#include <limits>

namespace tessarel {

namespace {
constexpr uint64_t int_limit = uint64_t{1} << 31;  // first value an int cannot hold
}  // namespace

progress_scale scale_progress(uint64_t total) {
  progress_scale scale;
  // total / k < 2^31 holds first for k = total / 2^31 + 1 (1 while it fits).
  scale.divisor = total / int_limit + 1;
  scale.range = static_cast<int>(total / scale.divisor);
  return scale;
}

int scaled_position(uint64_t done, const progress_scale& scale) {
  const uint64_t position = done / (scale.divisor ? scale.divisor : 1);
  constexpr uint64_t most = std::numeric_limits<int>::max();
  return static_cast<int>(position < most ? position : most);
}

}  // namespace tessarel
