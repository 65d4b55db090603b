#pragma once
// The file lists of one volume slot's 1000 cells.
//
// Only the analysis adds paths; the program reads a cell's list through the
// engine's export, and only while no run is active: a run empties and refills
// the lists, which moves their storage and frees their texts. The texts live
// in blocks owned by the slot and sized to the path, not in one heap
// allocation each: an analysis adds a path per file, millions on a large
// volume. A file that covers many cells has one copy of its path, shared by
// the lists of those cells.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dravik/cell_colours.h"
#include "dravik/cell_file_list.h"

namespace dravik {

class slot_file_lists {
 public:
  slot_file_lists() = default;
  slot_file_lists(const slot_file_lists&) = delete;
  slot_file_lists& operator=(const slot_file_lists&) = delete;

  // The list of cell (0 to 999; anything else is taken as 999).
  CellFileList& list(int64_t cell) noexcept;

  // cell_lists_file: whether the cell's list holds path, compared over the
  // whole text without regard to the case of letters.
  bool holds(int64_t cell, const char* path) const noexcept;

  // Appends a copy of path to the end of the cell's list.
  void append(int64_t cell, const char* path);

  // A copy of path[0, length) with its NUL, kept until clear(), to be
  // appended to any number of lists with append_stored.
  char* store(const char* path, std::size_t length);
  void append_stored(int64_t cell, char* stored);

  // Whether the cell's list ends with this stored text: a file's own copy is
  // last in every list it was appended to while the file is examined.
  bool ends_with(int64_t cell, const char* stored) const noexcept;

  // Heap bytes the lists and their texts hold, and the bytes of the stored
  // texts with their NULs.
  std::size_t memory_bytes() const noexcept;
  std::size_t text_bytes() const noexcept { return text_bytes_; }

  // free_cell_file_lists: every list empty, its storage and every text
  // freed. The program must not hold a list across this call.
  void clear() noexcept;

 private:
  std::array<CellFileList, cells_per_volume> lists_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0;   // bytes taken in the last block
  size_t block_size_ = 0;   // size of the last block
  size_t block_bytes_ = 0;  // of all blocks
  size_t text_bytes_ = 0;   // taken in all blocks
};

}  // namespace dravik
