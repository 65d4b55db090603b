#pragma once
// Free runs of a volume bitmap: maximal sequences of clear (free) bits.
//
// The movers rebuild the length map from a fresh bitmap for every file they
// move, and the optimisation pass scans a fresh bitmap for every file it
// tries, so the scan is on the hot path of a defragmentation: it reads the
// bitmap a 64-bit word at a time, passes words without a change of state in
// one step and finds the edges inside a word with bit scans. The pass takes
// its run in the scan itself and stops there, without building a map.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>

namespace dravik {

// A VOLUME_BITMAP_BUFFER's bits: bit i of byte b is cluster 8b + i, set when
// the cluster is in use.
struct bitmap_view {
  const uint8_t* bits;
  size_t byte_count;       // bytes available at bits
  uint64_t cluster_count;  // BitmapSize of the read
};

// Length -> start. Keys are unique and the scan runs upwards, so among runs of
// one length only the lowest-starting one stays.
using free_runs_by_length_map = std::map<uint64_t, uint64_t>;
// Start -> length, every run.
using free_runs_by_start_map = std::multimap<uint64_t, uint64_t>;

namespace detail {

// Walks the edges of one word: bit j of edges is set where cluster base + j
// differs from the cluster before it. Edges alternate between a run's start
// and the used cluster that ends it. False once emit asks to stop.
template <class Emit>
inline bool scan_edges(uint64_t edges, uint64_t base, bool& in_run, uint64_t& start, Emit& emit) {
  while (edges != 0) {
    const uint64_t cluster = base + static_cast<unsigned>(__builtin_ctzll(edges));
    edges &= edges - 1;
    if (in_run) {
      in_run = false;
      if (!emit(start, cluster - start)) return false;
    } else {
      start = cluster;
      in_run = true;
    }
  }
  return true;
}

}  // namespace detail

// Calls emit(start, length) for the free runs in ascending order of start
// until it returns false. Bits past cluster_count are ignored. Clusters that
// the buffer does not hold (a header claiming more than was read) count as
// used, so the scan never reads past the buffer and never offers space it
// has not seen.
template <class Emit>
void for_each_free_run_until(const bitmap_view& bitmap, Emit&& emit) {
  const uint64_t held_bits = static_cast<uint64_t>(bitmap.byte_count) * 8;
  const uint64_t end = bitmap.cluster_count < held_bits ? bitmap.cluster_count : held_bits;
  const uint64_t full_words = end / 64;
  bool in_run = false;
  uint64_t start = 0;
  // The state of the cluster before the word; "used" before cluster 0, so a
  // free cluster 0 opens a run.
  uint64_t carry = 1;

  for (uint64_t w = 0; w < full_words; ++w) {
    uint64_t word;
    std::memcpy(&word, bitmap.bits + w * 8, sizeof word);  // little-endian: bit j is cluster 64w + j
    const uint64_t edges = word ^ (word << 1 | carry);
    carry = word >> 63;
    // All-used and all-free words continuing the previous state have no edge.
    if (edges != 0 && !detail::scan_edges(edges, w * 64, in_run, start, emit)) return;
  }

  const auto tail_bits = static_cast<unsigned>(end - full_words * 64);
  if (tail_bits != 0) {
    uint64_t word = 0;
    std::memcpy(&word, bitmap.bits + full_words * 8, (tail_bits + 7) / 8);
    word |= ~uint64_t{0} << tail_bits;  // past the end counts as used: closes an open run at end
    if (!detail::scan_edges(word ^ (word << 1 | carry), full_words * 64, in_run, start, emit))
      return;
  }
  if (in_run) emit(start, end - start);
}

// Calls emit(start, length) for every free run, in ascending order of start.
template <class Emit>
void for_each_free_run(const bitmap_view& bitmap, Emit&& emit) {
  for_each_free_run_until(bitmap, [&emit](uint64_t start, uint64_t length) {
    emit(start, length);
    return true;
  });
}

// Adds the bitmap's runs to runs (which is not emptied first); a length
// already present keeps its start.
void scan_free_runs_by_length(const bitmap_view& bitmap, free_runs_by_length_map& runs);

// Adds every run of the bitmap to runs (which is not emptied first).
void scan_free_runs_by_start(const bitmap_view& bitmap, free_runs_by_start_map& runs);

}  // namespace dravik
