#pragma once
// The clusters the moves of one volume's defragmentation walk have freed.
//
// NTFS does not take a cluster that a move has freed as the target of
// another move before its next checkpoint, although its bitmap shows the
// cluster free at once. A mover that chose a run holding such clusters would
// see a move refused part-way through a file, which then stays fragmented.
// The movers therefore count these clusters as in use when they choose a run.
// Defragmentation worker only.

#include <cstdint>
#include <vector>

#include "volume/volume_bitmap.h"

namespace dravik {

class freed_clusters {
 public:
  // Forgets every range; at the start and the end of a volume's walk.
  void clear() noexcept { ranges_.clear(); }

  // A move has freed the clusters lcn to lcn + count - 1. A range that cannot
  // be recorded (no memory) only risks a refused move later.
  void add(uint64_t lcn, uint64_t count) noexcept {
    if (count == 0) return;
    if (!ranges_.empty() && ranges_.back().lcn + ranges_.back().count == lcn) {
      ranges_.back().count += count;
      return;
    }
    try {
      ranges_.push_back({lcn, count});
    } catch (...) {
    }
  }

  // Marks every recorded cluster as in use in the bitmap just read.
  void count_as_used(volume_bitmap& bitmap) const noexcept {
    for (const range& freed : ranges_) bitmap.count_as_used(freed.lcn, freed.count);
  }

  bool empty() const noexcept { return ranges_.empty(); }

 private:
  struct range {
    uint64_t lcn;
    uint64_t count;
  };
  std::vector<range> ranges_;
};

}  // namespace dravik
