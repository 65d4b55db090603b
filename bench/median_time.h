#pragma once
// The timing the drawing benchmarks share.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace tessarel::bench {

// Milliseconds per run of work: the median of 5 batches of repeat runs each,
// so that a busy moment of the machine does not decide the figure. work gets
// the run's number, counting on across batches.
inline double time_ms(int repeat, const std::function<void(int)>& work) {
  std::vector<double> batches;
  int run = 0;
  for (int batch = 0; batch < 5; ++batch) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i) work(run++);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    batches.push_back(spent.count() / repeat);
  }
  std::sort(batches.begin(), batches.end());
  return batches[2];
}

}  // namespace tessarel::bench
