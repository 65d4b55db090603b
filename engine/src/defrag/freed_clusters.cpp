#include "defrag/freed_clusters.h"

#include <algorithm>

namespace dravik {

void freed_clusters::clear() noexcept {
  std::vector<range>().swap(ranges_);
  ordered_ = 0;
}

void freed_clusters::add(uint64_t lcn, uint64_t count) noexcept {
  if (count == 0) return;
  const uint64_t end = lcn + count;
  // A file's extents are moved one after another, so the clusters of
  // neighbouring extents mostly come in a row, in either order.
  if (ranges_.size() > ordered_) {
    range& last = ranges_.back();
    if (lcn <= last.end && end >= last.lcn) {
      last.lcn = std::min(last.lcn, lcn);
      last.end = std::max(last.end, end);
      return;
    }
  }
  try {
    ranges_.push_back({lcn, end});
  } catch (...) {
  }
}

void freed_clusters::settle() noexcept {
  if (ordered_ == ranges_.size()) return;
  const auto added = ranges_.begin() + static_cast<std::ptrdiff_t>(ordered_);
  const auto starts_before = [](const range& a, const range& b) noexcept {
    return a.lcn < b.lcn;
  };
  std::sort(added, ranges_.end(), starts_before);
  const range first_added = *added;
  // Without memory for a buffer the merge still succeeds, only slower.
  std::inplace_merge(ranges_.begin(), added, ranges_.end(), starts_before);

  // Only ranges from the one before the lowest added range can have changed.
  auto kept = std::lower_bound(ranges_.begin(), ranges_.end(), first_added, starts_before);
  if (kept != ranges_.begin()) --kept;
  for (auto next = kept + 1; next != ranges_.end(); ++next) {
    if (next->lcn <= kept->end) {
      kept->end = std::max(kept->end, next->end);
    } else {
      *++kept = *next;
    }
  }
  ranges_.erase(kept + 1, ranges_.end());
  ordered_ = ranges_.size();
}

void freed_clusters::count_as_used(volume_bitmap& bitmap) noexcept {
  // Joining costs a pass over the whole record, so it waits until the ranges
  // added since are a fair share of it: the cost per range added stays small
  // and the record never holds much more than its joined size.
  const size_t added = ranges_.size() - ordered_;
  if (added > ordered_ / 4) settle();
  for (const range& freed : ranges_) bitmap.count_as_used(freed.lcn, freed.end - freed.lcn);
}

}  // namespace dravik
