#include "cluster_bitmap.h"

#include <bitset>

namespace dravik::sim {

namespace {

// Mask of bits [from, to) within one word, 0 <= from < to <= 64.
uint64_t word_mask(unsigned from, unsigned to) {
  const uint64_t high = to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
  return high & ~((uint64_t{1} << from) - 1);
}

// Calls visit(word index, mask) for each word that [first, first + count)
// touches; stops early when visit returns false.
template <typename Visit>
bool for_each_word(uint64_t first, uint64_t count, Visit visit) {
  uint64_t at = first;
  const uint64_t end = first + count;
  while (at < end) {
    const uint64_t word_end = (at | 63) + 1;
    const uint64_t stop = end < word_end ? end : word_end;
    const unsigned from = static_cast<unsigned>(at & 63);
    const unsigned to = stop == word_end ? 64 : static_cast<unsigned>(stop & 63);
    if (!visit(static_cast<size_t>(at >> 6), word_mask(from, to))) return false;
    at = stop;
  }
  return true;
}

}  // namespace

cluster_bitmap::cluster_bitmap(uint64_t clusters)
    : clusters_(clusters), words_(static_cast<size_t>((clusters + 63) / 64), 0) {}

bool cluster_bitmap::range_clear(uint64_t first, uint64_t count) const {
  if (first > clusters_ || count > clusters_ - first) return false;
  return for_each_word(first, count,
                       [&](size_t word, uint64_t mask) { return (words_[word] & mask) == 0; });
}

bool cluster_bitmap::range_set(uint64_t first, uint64_t count) const {
  if (first > clusters_ || count > clusters_ - first) return false;
  return for_each_word(first, count,
                       [&](size_t word, uint64_t mask) { return (words_[word] & mask) == mask; });
}

template <bool Set>
void cluster_bitmap::apply(uint64_t first, uint64_t count) {
  for_each_word(first, count, [&](size_t word, uint64_t mask) {
    if constexpr (Set) {
      words_[word] |= mask;
    } else {
      words_[word] &= ~mask;
    }
    return true;
  });
}

void cluster_bitmap::set_range(uint64_t first, uint64_t count) {
  apply<true>(first, count);
  used_ += count;
}

void cluster_bitmap::clear_range(uint64_t first, uint64_t count) {
  apply<false>(first, count);
  used_ -= count;
}

uint64_t cluster_bitmap::count_set() const {
  uint64_t total = 0;
  for (uint64_t word : words_) total += std::bitset<64>(word).count();
  return total;
}

uint64_t cluster_bitmap::count_free_runs() const {
  // A run starts at a clear bit whose lower neighbour is set (or at cluster
  // 0). Bits past the end are clear but start nothing: they are masked off.
  uint64_t runs = 0;
  uint64_t carry = 1;  // cluster -1 counts as used
  for (size_t i = 0; i < words_.size(); ++i) {
    uint64_t free = ~words_[i];
    if (i + 1 == words_.size() && (clusters_ & 63) != 0)
      free &= (uint64_t{1} << (clusters_ & 63)) - 1;
    const uint64_t starts = free & ((words_[i] << 1) | carry);
    runs += std::bitset<64>(starts).count();
    carry = words_[i] >> 63;
  }
  return runs;
}

uint64_t cluster_bitmap::first_difference(const cluster_bitmap& other) const {
  const size_t words = words_.size() < other.words_.size() ? words_.size() : other.words_.size();
  for (size_t i = 0; i < words; ++i) {
    const uint64_t diff = words_[i] ^ other.words_[i];
    if (diff) {
      unsigned bit = 0;
      while (!((diff >> bit) & 1)) ++bit;
      return uint64_t{i} * 64 + bit;
    }
  }
  return clusters_;
}

}  // namespace dravik::sim
