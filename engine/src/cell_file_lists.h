#pragma once
// The file lists of one volume slot's 1000 cells.
//
// Only the analysis adds paths; the program reads a cell's list through the
// engine's export. The texts live in blocks owned by the slot and sized to the
// path, not in one heap allocation each: an analysis adds a path per file and
// per cell a contiguous file covers, millions on a large volume.

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

  // free_cell_file_lists: every list empty and every text freed. The program
  // must not hold a list across this call.
  void clear() noexcept;

 private:
  char* copy_text(const char* text);

  std::array<CellFileList, cells_per_volume> lists_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0;   // bytes taken in the last block
  size_t block_size_ = 0;   // size of the last block
};

}  // namespace dravik
