#include "cells/cell_file_lists.h"

#include <cstring>

#include "text/ansi_text.h"
#include "cells/cell_geometry.h"

namespace dravik {

namespace {

// Large enough that a walk makes few allocations, small enough that a volume
// with a handful of paths does not hold much.
constexpr size_t text_block_size = 64 * 1024;

}  // namespace

CellFileList& slot_file_lists::list(int64_t cell) noexcept {
  return lists_[static_cast<size_t>(cell_within_map(cell))];
}

bool slot_file_lists::holds(int64_t cell, const char* path) const noexcept {
  for (const char* entry : lists_[static_cast<size_t>(cell_within_map(cell))]) {
    if (ansi_equal_ignoring_case(entry, path)) return true;
  }
  return false;
}

bool slot_file_lists::ends_with(int64_t cell, const char* stored) const noexcept {
  const CellFileList& entries = lists_[static_cast<size_t>(cell_within_map(cell))];
  return !entries.empty() && entries.back() == stored;
}

void slot_file_lists::append(int64_t cell, const char* path) {
  CellFileList& target = list(cell);
  // Room first, so a failed growth leaves no text behind; the room grows by
  // doubling, as push_back would.
  if (target.size() == target.capacity()) target.reserve(target.empty() ? 4 : 2 * target.size());
  target.push_back(store(path, std::strlen(path)));
}

void slot_file_lists::append_stored(int64_t cell, char* stored) { list(cell).push_back(stored); }

char* slot_file_lists::store(const char* path, size_t length) {
  const size_t size = length + 1;
  if (blocks_.empty() || block_size_ - block_used_ < size) {
    const size_t new_size = size > text_block_size ? size : text_block_size;
    if (blocks_.size() == blocks_.capacity())
      blocks_.reserve(blocks_.empty() ? 16 : 2 * blocks_.size());
    blocks_.push_back(std::unique_ptr<char[]>(new char[new_size]));
    block_size_ = new_size;
    block_used_ = 0;
    block_bytes_ += new_size;
  }
  char* copy = blocks_.back().get() + block_used_;
  std::memcpy(copy, path, length);
  copy[length] = '\0';
  block_used_ += size;
  text_bytes_ += size;
  return copy;
}

size_t slot_file_lists::memory_bytes() const noexcept {
  size_t bytes = block_bytes_ + blocks_.capacity() * sizeof(blocks_[0]);
  for (const CellFileList& entries : lists_) bytes += entries.capacity() * sizeof(char*);
  return bytes;
}

void slot_file_lists::clear() noexcept {
  // The storage goes too: a large volume's lists must not stay held until
  // the slot is analysed again.
  for (CellFileList& entries : lists_) CellFileList().swap(entries);
  blocks_.clear();
  block_used_ = 0;
  block_size_ = 0;
  block_bytes_ = 0;
  text_bytes_ = 0;
}

}  // namespace dravik
