// The phase step and the progress bar's arithmetic, without a window.
#include <gtest/gtest.h>

#include <cstdint>

#include "job/job_phase.h"
#include "job/progress_scale.h"

namespace tessarel::testing {
namespace {

// Every phase with every combination of registry flag and letters. Catches
// a registry phase run without the Registry row, a volume phase with no
// letters, and a done job that steps anywhere but done.
TEST(JobPhase, AdvanceAndPeekInEveryState) {
  struct row {
    int32_t phase;
    bool registry;
    bool letters;
    int32_t next;
  };
  const row rows[] = {
      {0, true, true, 1},   {0, true, false, 1},  {0, false, true, 2},  {0, false, false, 3},
      {1, true, true, 2},   {1, false, true, 2},  {1, true, false, 3},  {1, false, false, 3},
      {2, true, true, 3},   {2, false, false, 3}, {3, true, true, 3},   {3, false, false, 3},
      {-1, true, true, 3},  {7, false, true, 3},
  };
  for (const row& r : rows) {
    volume_job job;
    job.phase = r.phase;
    job.registry = r.registry ? 1 : 0;
    job.letters = r.letters ? L"CD" : L"";
    const volume_job before = job;
    EXPECT_EQ(peek_next_phase(job), r.next) << r.phase << r.registry << r.letters;
    EXPECT_EQ(job, before) << "peek wrote the record";
    advance(job);
    EXPECT_EQ(job.phase, r.next);
    EXPECT_EQ(job.letters, before.letters);
  }
}

// The bar is right for any total: no 16-bit range that fills at 65 %, no
// int overflow above 2^31, and the bar is full exactly when done reaches total.
TEST(ProgressScale, RangeAndPositionForEveryTotal) {
  struct row {
    uint64_t total;
    uint64_t done;
    uint64_t divisor;
    int range;
    int position;
  };
  constexpr uint64_t two_31 = uint64_t{1} << 31;
  const row rows[] = {
      {1000, 500, 1, 1000, 500},
      {100000, 70000, 1, 100000, 70000},
      {6553500, 6553499, 1, 6553500, 6553499},
      {two_31 - 1, two_31 - 2, 1, 2147483647, 2147483646},
      {two_31, two_31 - 1, 2, 1073741824, 1073741823},
      {uint64_t{1} << 33, uint64_t{1} << 32, 5, 1717986918, 858993459},
      {UINT64_MAX, UINT64_MAX - 1, UINT64_MAX / two_31 + 1, 2147483647, 2147483647},
  };
  for (const row& r : rows) {
    const progress_scale scale = scale_progress(r.total);
    EXPECT_EQ(scale.divisor, r.divisor) << r.total;
    EXPECT_EQ(scale.range, r.range) << r.total;
    EXPECT_GE(scale.range, 0);
    EXPECT_EQ(scaled_position(r.done, scale), r.position) << r.total;
    EXPECT_EQ(scaled_position(r.total, scale), scale.range) << "full at the total";
  }
}

}  // namespace
}  // namespace tessarel::testing
