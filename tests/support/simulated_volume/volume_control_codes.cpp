// The bodies of FSCTL_GET_VOLUME_BITMAP, FSCTL_GET_RETRIEVAL_POINTERS and
// FSCTL_MOVE_FILE on one volume, with the output layouts and errors the
// platform documents.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "volume_model.h"

namespace dravik::sim {

static_assert(offsetof(VOLUME_BITMAP_BUFFER, StartingLcn) == 0);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, BitmapSize) == 8);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, Buffer) == 16);
static_assert(sizeof(VOLUME_BITMAP_BUFFER) == 24);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, ExtentCount) == 0);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, StartingVcn) == 8);
static_assert(offsetof(RETRIEVAL_POINTERS_BUFFER, Extents) == 16);
static_assert(sizeof(RETRIEVAL_POINTERS_BUFFER) == 32);
static_assert(sizeof(extent) == 16);

namespace {

constexpr DWORD bitmap_header = offsetof(VOLUME_BITMAP_BUFFER, Buffer);
constexpr DWORD extents_header = offsetof(RETRIEVAL_POINTERS_BUFFER, Extents);

// Writes a RETRIEVAL_POINTERS_BUFFER of extents [first, first + count) of a
// list, or as many of them as fit.
DWORD write_extents(const extent* list, uint32_t total, uint32_t first, void* out, DWORD out_size,
                    DWORD* returned) {
  const DWORD fit = (out_size - extents_header) / sizeof(extent);
  const uint32_t remaining = total - first;
  const uint32_t count = std::min<uint32_t>(remaining, fit);
  auto* buffer = static_cast<RETRIEVAL_POINTERS_BUFFER*>(out);
  buffer->ExtentCount = count;
  buffer->StartingVcn.QuadPart = first == 0 ? 0 : list[first - 1].next_vcn;
  std::memcpy(reinterpret_cast<unsigned char*>(out) + extents_header, list + first,
              count * sizeof(extent));
  *returned = extents_header + count * static_cast<DWORD>(sizeof(extent));
  return count < remaining ? ERROR_MORE_DATA : 0;
}

}  // namespace

DWORD volume_model::read_bitmap(int64_t starting_lcn, void* out, DWORD out_size,
                                DWORD* returned) const {
  *returned = 0;
  // Too small to return anything, not even the header with one byte.
  if (out == nullptr || out_size < sizeof(VOLUME_BITMAP_BUFFER)) return ERROR_INSUFFICIENT_BUFFER;
  if (starting_lcn < 0 || static_cast<uint64_t>(starting_lcn) >= bitmap_.size()) {
    return ERROR_INVALID_PARAMETER;
  }
  // The start is rounded down to a whole byte of the map; BitmapSize counts
  // the clusters from there to the end of the volume.
  const uint64_t start = static_cast<uint64_t>(starting_lcn) & ~uint64_t{7};
  const uint64_t clusters = bitmap_.size() - start;
  auto* buffer = static_cast<VOLUME_BITMAP_BUFFER*>(out);
  buffer->StartingLcn.QuadPart = static_cast<LONGLONG>(start);
  buffer->BitmapSize.QuadPart = static_cast<LONGLONG>(clusters);
  const uint64_t needed = (clusters + 7) / 8;
  const DWORD room = out_size - bitmap_header;
  const DWORD copied = needed > room ? room : static_cast<DWORD>(needed);
  std::memcpy(buffer->Buffer, bitmap_.bytes() + start / 8, copied);
  *returned = bitmap_header + copied;
  return copied < needed ? ERROR_MORE_DATA : 0;
}

uint32_t volume_model::first_extent_after(node_id file, int64_t vcn) const {
  const extent* first = extents(file);
  const extent* last = first + extent_count(file);
  return static_cast<uint32_t>(
      std::upper_bound(first, last, vcn,
                       [](int64_t v, const extent& e) { return v < e.next_vcn; }) -
      first);
}

DWORD volume_model::read_extents(node_id file, int64_t starting_vcn, void* out, DWORD out_size,
                                 DWORD* returned) const {
  *returned = 0;
  if (out == nullptr || out_size < sizeof(RETRIEVAL_POINTERS_BUFFER)) {
    return ERROR_INSUFFICIENT_BUFFER;
  }
  if (starting_vcn < 0) return ERROR_INVALID_PARAMETER;
  // No clusters at or beyond the start: resident data, an empty file, or a
  // start past the end of the allocation.
  if (starting_vcn >= allocated_vcns(file)) return ERROR_HANDLE_EOF;
  // The answer starts with the extent that holds StartingVcn, and says where
  // that extent starts.
  return write_extents(extents(file), extent_count(file), first_extent_after(file, starting_vcn),
                       out, out_size, returned);
}

DWORD volume_model::read_volume_extents(int64_t starting_vcn, void* out, DWORD out_size,
                                        DWORD* returned) const {
  *returned = 0;
  if (out == nullptr || out_size < sizeof(RETRIEVAL_POINTERS_BUFFER)) {
    return ERROR_INSUFFICIENT_BUFFER;
  }
  if (starting_vcn < 0) return ERROR_INVALID_PARAMETER;
  const auto total = static_cast<int64_t>(bitmap_.size());
  if (starting_vcn >= total) return ERROR_HANDLE_EOF;
  const extent bad_clusters{total, virtual_lcn};
  return write_extents(&bad_clusters, 1, 0, out, out_size, returned);
}

DWORD volume_model::move(node_id name, int64_t vcn, int64_t lcn, DWORD count) {
  const node_id file = data_of(name);
  if (count == 0 || vcn < 0 || lcn < 0) return ERROR_INVALID_PARAMETER;
  const int64_t end_vcn = vcn + count;
  if (end_vcn > allocated_vcns(file)) return ERROR_INVALID_PARAMETER;
  if (static_cast<uint64_t>(lcn) + count > bitmap_.size()) return ERROR_INVALID_PARAMETER;

  const extent* list = extents(file);
  const uint32_t total = extent_count(file);
  const uint32_t first = first_extent_after(file, vcn);
  uint32_t past = first;  // one past the last extent the range touches
  for (; past < total && (past == 0 ? 0 : list[past - 1].next_vcn) < end_vcn; ++past) {
    // Virtual clusters have nothing on the volume to move.
    if (list[past].lcn == virtual_lcn) return ERROR_INVALID_PARAMETER;
  }
  // Every target cluster must be free; this also refuses a target that
  // overlaps the file's own clusters.
  if (!bitmap_.range_clear(static_cast<uint64_t>(lcn), count) ||
      any_held(static_cast<uint64_t>(lcn), count)) {
    return ERROR_INVALID_PARAMETER;
  }

  // Copy the data cluster by cluster and release the old clusters.
  for (uint32_t i = first; i < past; ++i) {
    const int64_t start = i == 0 ? 0 : list[i - 1].next_vcn;
    const int64_t from = std::max(start, vcn);
    const int64_t to = std::min(list[i].next_vcn, end_vcn);
    const int64_t source = list[i].lcn + (from - start);
    const int64_t target = lcn + (from - vcn);
    if (!tags_.empty()) {
      for (int64_t k = 0; k < to - from; ++k) {
        tags_[static_cast<size_t>(target + k)] = tags_[static_cast<size_t>(source + k)];
        tags_[static_cast<size_t>(source + k)] = 0;
      }
    }
    bitmap_.clear_range(static_cast<uint64_t>(source), static_cast<uint64_t>(to - from));
    // Freed, but not for reuse before the next checkpoint.
    if (holding_) held_.set_range(static_cast<uint64_t>(source), static_cast<uint64_t>(to - from));
  }
  bitmap_.set_range(static_cast<uint64_t>(lcn), count);

  // New extent list: the parts before and after the range stay, the range
  // becomes one extent, merged with a neighbour it now touches end to end.
  std::vector<extent>& result = scratch_;
  result.clear();
  for (uint32_t i = 0; i < first; ++i) result.push_back(list[i]);
  const int64_t first_start = first == 0 ? 0 : list[first - 1].next_vcn;
  if (first_start < vcn) result.push_back({vcn, list[first].lcn});
  const extent moved{end_vcn, lcn};
  auto touches = [](const extent& a, int64_t a_start, const extent& b) {
    return a.lcn != virtual_lcn && b.lcn != virtual_lcn && a.lcn + (a.next_vcn - a_start) == b.lcn;
  };
  if (!result.empty()) {
    const int64_t prev_start = result.size() == 1 ? 0 : result[result.size() - 2].next_vcn;
    extent& prev = result.back();
    if (touches(prev, prev_start, moved)) {
      prev.next_vcn = moved.next_vcn;
    } else {
      result.push_back(moved);
    }
  } else {
    result.push_back(moved);
  }
  const int64_t last_end = list[past - 1].next_vcn;
  uint32_t rest = past;
  if (last_end > end_vcn) {
    // The rest of the last extent stays where it was.
    const int64_t last_start = past - 1 == 0 ? 0 : list[past - 2].next_vcn;
    result.push_back({last_end, list[past - 1].lcn + (end_vcn - last_start)});
  } else if (rest < total) {
    // The range ended with an extent: the next one may now follow on directly.
    const int64_t prev_start = result.size() == 1 ? 0 : result[result.size() - 2].next_vcn;
    if (touches(result.back(), prev_start, list[rest])) {
      result.back().next_vcn = list[rest].next_vcn;
      ++rest;
    }
  }
  for (uint32_t i = rest; i < total; ++i) result.push_back(list[i]);
  store_extents(file, result.data(), static_cast<uint32_t>(result.size()));
  return 0;
}

}  // namespace dravik::sim
