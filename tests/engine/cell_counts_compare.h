#pragma once
// Comparison and printing of cell counters for the tests' expectations.
// In namespace dravik beside cell_counts, where the expectations find them.

#include <ostream>

#include "state/cluster_cell.h"

namespace dravik {

inline bool operator==(const cell_counts& a, const cell_counts& b) {
  return a.in_use == b.in_use && a.system_count == b.system_count && a.reserved == b.reserved &&
         a.fragmented_count == b.fragmented_count && a.contiguous_count == b.contiguous_count &&
         a.settled_count == b.settled_count;
}

inline std::ostream& operator<<(std::ostream& out, const cell_counts& c) {
  return out << '{' << c.in_use << ' ' << c.system_count << ' ' << c.reserved << ' '
             << c.fragmented_count << ' ' << c.contiguous_count << ' ' << c.settled_count << '}';
}

}  // namespace dravik
