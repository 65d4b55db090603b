#include "cell_file_lists.h"

#include <cstring>

#include "ansi_text.h"
#include "cell_geometry.h"

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

void slot_file_lists::append(int64_t cell, const char* path) {
  CellFileList& target = list(cell);
  target.reserve(target.size() + 1);  // a failed growth leaves no text behind
  target.push_back(copy_text(path));
}

char* slot_file_lists::copy_text(const char* text) {
  const size_t size = std::strlen(text) + 1;
  if (blocks_.empty() || block_size_ - block_used_ < size) {
    const size_t new_size = size > text_block_size ? size : text_block_size;
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(std::unique_ptr<char[]>(new char[new_size]));
    block_size_ = new_size;
    block_used_ = 0;
  }
  char* copy = blocks_.back().get() + block_used_;
  std::memcpy(copy, text, size);
  block_used_ += size;
  return copy;
}

void slot_file_lists::clear() noexcept {
  for (CellFileList& entries : lists_) entries.clear();
  blocks_.clear();
  block_used_ = 0;
  block_size_ = 0;
}

}  // namespace dravik
