#pragma once
// The clusters the moves of one volume's defragmentation walk have freed.
//
// NTFS does not take a cluster that a move has freed as the target of
// another move before its next checkpoint, although its bitmap shows the
// cluster free at once. A mover that chose a run holding such clusters would
// see a move refused part-way through a file. The NTFS movers therefore
// first choose a run with these clusters counted as in use, and take them
// only when nothing else holds the file. Defragmentation worker only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "volume/volume_bitmap.h"

namespace dravik {

class freed_clusters {
 public:
  // Forgets every range and gives its memory back; at the start and the end
  // of a volume's walk.
  void clear() noexcept;

  // A move has freed the clusters lcn to lcn + count - 1. A range that touches
  // the one added before it joins it at once; the others join the ranges
  // they touch once enough of them have come. A range that cannot be
  // recorded (no memory) only risks a refused move later.
  void add(uint64_t lcn, uint64_t count) noexcept;

  // Marks every recorded cluster as in use in the bitmap just read.
  void count_as_used(volume_bitmap& bitmap) noexcept;

  bool empty() const noexcept { return ranges_.empty(); }
  // How many separate ranges are recorded.
  size_t range_count() const noexcept { return ranges_.size(); }

 private:
  struct range {
    uint64_t lcn;
    uint64_t end;  // one past the last cluster
  };

  // Sorts the ranges added since the last call into the ordered ones and
  // joins those that touch or overlap.
  void settle() noexcept;

  // ranges_[0, ordered_) ascend and neither touch nor overlap; the ranges
  // after them were added since, in the order of their moves. A vector, not
  // a tree: every file's choice reads the whole record.
  std::vector<range> ranges_;
  size_t ordered_ = 0;
};

}  // namespace dravik
