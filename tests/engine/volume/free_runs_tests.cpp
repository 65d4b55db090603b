#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "volume/free_runs.h"

namespace dravik::testing {
namespace {

using run = std::pair<uint64_t, uint64_t>;  // start, length

// Bits from a text, cluster 0 first: '1' used, '0' free.
std::vector<uint8_t> bits_of(const std::string& pattern) {
  std::vector<uint8_t> bytes((pattern.size() + 7) / 8, 0);
  for (size_t c = 0; c < pattern.size(); ++c) {
    if (pattern[c] == '1') bytes[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
  }
  return bytes;
}

std::vector<run> runs_of(const bitmap_view& bitmap) {
  std::vector<run> runs;
  for_each_free_run(bitmap, [&runs](uint64_t start, uint64_t length) {
    runs.emplace_back(start, length);
  });
  return runs;
}

// The bit-by-bit walk the word scan must match exactly.
std::vector<run> reference_runs(const std::vector<uint8_t>& bytes, uint64_t clusters) {
  std::vector<run> runs;
  bool in_run = false;
  uint64_t start = 0;
  for (uint64_t c = 0; c < clusters; ++c) {
    const bool used = (bytes[c / 8] >> (c % 8)) & 1;
    if (used && in_run) {
      runs.emplace_back(start, c - start);
      in_run = false;
    } else if (!used && !in_run) {
      start = c;
      in_run = true;
    }
  }
  if (in_run) runs.emplace_back(start, clusters - start);
  return runs;
}

struct pattern_case {
  const char* name;
  std::string pattern;
  std::vector<run> runs;
};

class FreeRunScan : public ::testing::TestWithParam<pattern_case> {};

// Catches lost or split runs at word and byte edges and at the volume's end.
TEST_P(FreeRunScan, FindsEveryRunInOrder) {
  const std::vector<uint8_t> bytes = bits_of(GetParam().pattern);
  const bitmap_view view{bytes.data(), bytes.size(), GetParam().pattern.size()};
  EXPECT_EQ(runs_of(view), GetParam().runs);
}

std::string repeat(char c, size_t n) { return std::string(n, c); }

INSTANTIATE_TEST_SUITE_P(
    Patterns, FreeRunScan,
    ::testing::Values(
        pattern_case{"Empty", "", {}},
        pattern_case{"AllUsed", repeat('1', 200), {}},
        pattern_case{"AllFree", repeat('0', 200), {{0, 200}}},
        pattern_case{"RunReachesLastCluster", "1110000", {{3, 4}}},
        pattern_case{"RunStartsAtZero", "0011", {{0, 2}}},
        pattern_case{"SingleClusters", "0101010", {{0, 1}, {2, 1}, {4, 1}, {6, 1}}},
        pattern_case{"RunAcrossWordEdge", repeat('1', 60) + repeat('0', 10) + repeat('1', 60),
                     {{60, 10}}},
        pattern_case{"RunSpanningFreeWords",
                     "1" + repeat('0', 64 * 3 + 5) + "1" + repeat('1', 30), {{1, 64 * 3 + 5}}},
        pattern_case{"FreeWordThenUsedWord", repeat('0', 64) + repeat('1', 64), {{0, 64}}},
        pattern_case{"UsedWordThenFreeTail", repeat('1', 64) + repeat('0', 3), {{64, 3}}},
        pattern_case{"ExactlyOneWordFree", repeat('0', 64), {{0, 64}}}),
    [](const ::testing::TestParamInfo<pattern_case>& info) { return info.param.name; });

// Catches the scan counting the padding bits of the last byte as clusters.
TEST(FreeRunBounds, BitsBeyondBitmapSizeAreIgnored) {
  std::vector<uint8_t> bytes = bits_of("1111111111000");  // 13 clusters, 3 free at the end
  // the last byte's bits 13 to 15 are clear too, but lie past the volume
  const bitmap_view view{bytes.data(), bytes.size(), 13};
  EXPECT_EQ(runs_of(view), (std::vector<run>{{10, 3}}));
}

// Catches a read past the buffer when the header claims more clusters than
// were returned: clusters the buffer does not hold count as used.
TEST(FreeRunBounds, ClustersPastTheBufferCountAsUsed) {
  std::vector<uint8_t> bytes = bits_of(repeat('1', 8) + repeat('0', 8));
  const bitmap_view view{bytes.data(), bytes.size(), 1000};
  EXPECT_EQ(runs_of(view), (std::vector<run>{{8, 8}}));
}

// Catches any divergence from the bit-by-bit walk on realistic and extreme
// mixes, with sizes that are not multiples of 8 or 64.
TEST(FreeRunScanMatchesReference, RandomBitmaps) {
  std::mt19937_64 random(20240601);
  for (int round = 0; round < 300; ++round) {
    const uint64_t clusters = 1 + random() % 3000;
    std::vector<uint8_t> bytes((clusters + 7) / 8 + (round % 3));  // sometimes slack bytes
    // Runs of geometric-ish length with a varying share of free space.
    const unsigned free_share = static_cast<unsigned>(random() % 101);
    bool used = random() % 2 == 0;
    for (uint64_t c = 0; c < bytes.size() * 8;) {
      const uint64_t length = 1 + random() % (round % 2 == 0 ? 8 : 200);
      for (uint64_t i = 0; i < length && c < bytes.size() * 8; ++i, ++c) {
        if (used) bytes[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
      }
      used = random() % 100 >= free_share;
    }
    const bitmap_view view{bytes.data(), bytes.size(), clusters};
    const std::vector<run> expected = reference_runs(bytes, clusters);
    ASSERT_EQ(runs_of(view), expected) << "round " << round;

    // The length map, over what an earlier scan may have left in it.
    free_runs_by_length_map earlier{{1, 77777}, {static_cast<uint64_t>(round + 1), 5}};
    free_runs_by_length_map by_length = earlier;
    scan_free_runs_by_length(view, by_length);
    free_runs_by_length_map reference = earlier;
    for (const run& r : expected) reference.try_emplace(r.second, r.first);
    ASSERT_EQ(by_length, reference) << "round " << round;
  }
}

// Catches a length map that keeps the last run of a length instead of the
// lowest-starting one, or a start map that drops equal-length runs.
TEST(FreeRunMaps, EqualLengthsKeepLowestStartByLengthButAllByStart) {
  const std::vector<uint8_t> bytes = bits_of("1001100100001001");
  const bitmap_view view{bytes.data(), bytes.size(), 16};

  free_runs_by_length_map by_length;
  scan_free_runs_by_length(view, by_length);
  EXPECT_EQ(by_length, (free_runs_by_length_map{{2, 1}, {4, 8}}));

  free_runs_by_start_map by_start;
  scan_free_runs_by_start(view, by_start);
  EXPECT_EQ(by_start, (free_runs_by_start_map{{1, 2}, {5, 2}, {8, 4}, {13, 2}}));
}

// Catches a scan that empties the map first or replaces a length already
// there: the callers empty the maps themselves.
TEST(FreeRunMaps, ScansAddToWhatTheMapsHold) {
  const std::vector<uint8_t> bytes = bits_of("1001");
  const bitmap_view view{bytes.data(), bytes.size(), 4};

  free_runs_by_length_map by_length{{2, 500}, {7, 9}};
  scan_free_runs_by_length(view, by_length);
  EXPECT_EQ(by_length, (free_runs_by_length_map{{2, 500}, {7, 9}}));

  free_runs_by_start_map by_start{{1, 2}, {100, 3}};
  scan_free_runs_by_start(view, by_start);
  EXPECT_EQ(by_start, (free_runs_by_start_map{{1, 2}, {1, 2}, {100, 3}}));
}

// Catches the short-length shortcut of the length map losing long runs, or
// the first of two equal long runs.
TEST(FreeRunMaps, LongRunsKeepTheLowestStartToo) {
  const std::string pattern = "1" + repeat('0', 5000) + "1" + repeat('0', 5000) + "1" +
                              repeat('0', 4096) + "1" + repeat('0', 4095) + "1";
  const std::vector<uint8_t> bytes = bits_of(pattern);
  const bitmap_view view{bytes.data(), bytes.size(), pattern.size()};
  free_runs_by_length_map by_length{{4096, 3}};
  scan_free_runs_by_length(view, by_length);
  EXPECT_EQ(by_length, (free_runs_by_length_map{{4095, 14100}, {4096, 3}, {5000, 1}}));
}

// Catches a scan that goes on after the caller asks it to stop, stops before
// handing over the run that ends the search, or loses its state when it stops
// inside a word; and a search that never ends losing the run that reaches
// the volume's end.
TEST(FreeRunScanUntil, StopsRightAfterTheRunTheCallerEndsWith) {
  std::mt19937_64 random(20250301);
  for (int round = 0; round < 200; ++round) {
    const uint64_t clusters = 1 + random() % 2000;
    std::vector<uint8_t> bytes((clusters + 7) / 8);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random() & random());
    const bitmap_view view{bytes.data(), bytes.size(), clusters};
    const uint64_t wanted = 1 + random() % 6;

    std::vector<run> seen;
    for_each_free_run_until(view, [&seen, wanted](uint64_t start, uint64_t length) {
      seen.emplace_back(start, length);
      return length < wanted;
    });
    std::vector<run> expected;
    for (const run& r : reference_runs(bytes, clusters)) {
      expected.push_back(r);
      if (r.second >= wanted) break;
    }
    ASSERT_EQ(seen, expected) << "round " << round;
  }
}

}  // namespace
}  // namespace dravik::testing
