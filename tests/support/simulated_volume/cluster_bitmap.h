#pragma once
// One bit per cluster, set = in use, kept in 64-bit words whose bytes are, on
// the little-endian targets we build for, exactly the bytes a volume bitmap
// read returns (bit i of byte b is cluster 8·b + i).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dravik::sim {

class cluster_bitmap {
 public:
  explicit cluster_bitmap(uint64_t clusters = 0);

  uint64_t size() const { return clusters_; }
  size_t memory_bytes() const { return words_.capacity() * sizeof(uint64_t); }
  uint64_t used() const { return used_; }

  bool test(uint64_t cluster) const { return (words_[cluster >> 6] >> (cluster & 63)) & 1; }
  // Whole range clear (every cluster free). Out-of-range counts as not clear.
  bool range_clear(uint64_t first, uint64_t count) const;
  // Every cluster in range set.
  bool range_set(uint64_t first, uint64_t count) const;

  // Marks a range used or free; the caller knows the range's current state
  // (set_range on free clusters, clear_range on used ones), so the used count
  // stays exact without counting bits.
  void set_range(uint64_t first, uint64_t count);
  void clear_range(uint64_t first, uint64_t count);

  // Bits beyond size() in the last word stay clear.
  const unsigned char* bytes() const {
    return reinterpret_cast<const unsigned char*>(words_.data());
  }

  // Recounts set bits (for the invariant check).
  uint64_t count_set() const;
  // Number of maximal runs of free clusters.
  uint64_t count_free_runs() const;
  // First cluster where the two maps differ, or size() when equal.
  uint64_t first_difference(const cluster_bitmap& other) const;

  // Only for tests of the invariant check: flips one bit without bookkeeping.
  void flip_for_test(uint64_t cluster) { words_[cluster >> 6] ^= uint64_t{1} << (cluster & 63); }

 private:
  template <bool Set>
  void apply(uint64_t first, uint64_t count);

  uint64_t clusters_ = 0;
  uint64_t used_ = 0;
  std::vector<uint64_t> words_;
};

}  // namespace dravik::sim
