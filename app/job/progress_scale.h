#pragma once
// How the engine's 64-bit progress numbers map onto the progress bar's int
// range (PBM_SETRANGE32). Pure; any thread.

#include <cstdint>

namespace tessarel {

struct progress_scale {
  uint64_t divisor = 1;  // never 0
  int range = 0;         // the bar's maximum: total / divisor
};

// Divisor 1 while total fits an int; above that the smallest divisor that
// brings total under 2^31, so the bar fills exactly when done reaches total.
progress_scale scale_progress(uint64_t total);

// done / divisor, clamped to the range's type.
int scaled_position(uint64_t done, const progress_scale& scale);

}  // namespace tessarel
