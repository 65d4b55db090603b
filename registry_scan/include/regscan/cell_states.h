#pragma once
// The codes of the 2565 cells of the registry map, as the map view draws
// them. Written by the registry worker while the user interface reads them,
// so every cell is an atomic and the table never moves: it is empty until its
// first reset and holds 2565 cells from then on; later resets refill it.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace regscan {

// The number of cells of the registry map (and of issue groups).
constexpr std::size_t registry_cell_count = 2565;

enum cell_code : std::int32_t {
  cell_empty = 0,       // no item landed here
  cell_fine = 4,        // every issue of the cell is fine or repaired
  cell_open_issue = 5,  // at least one open issue
};

class cell_state_table {
 public:
  // 0 before the first reset, registry_cell_count after it. Any thread.
  std::size_t size() const { return ready_.load(std::memory_order_acquire) ? cells_.size() : 0; }
  bool empty() const { return size() == 0; }

  // The code of a cell; cell_empty for a cell at or past size(). Any thread.
  std::int32_t at(std::size_t cell) const {
    return cell < size() ? cells_[cell].load(std::memory_order_relaxed) : cell_empty;
  }

  // Owner of the store (worker or wiring code): writes the code of a cell
  // below size(); a cell past it is ignored.
  void store(std::size_t cell, std::int32_t code) {
    if (cell < size()) cells_[cell].store(code, std::memory_order_relaxed);
  }

  // Owner of the store: every cell becomes cell_empty; size() is 2565 after.
  void reset() {
    for (auto& cell : cells_) cell.store(cell_empty, std::memory_order_relaxed);
    ready_.store(true, std::memory_order_release);
  }

 private:
  std::array<std::atomic<std::int32_t>, registry_cell_count> cells_{};
  std::atomic<bool> ready_{false};
};

}  // namespace regscan
