#pragma once

#include <algorithm>

namespace tessarel {

// The line with the most characters in [first, last); of equal lengths the
// first wins. last when the range is empty. Any thread.
template <class Iterator>
Iterator longest_line(Iterator first, Iterator last) {
  // max_element keeps the first of equal elements.
  return std::max_element(first, last,
                          [](const auto& a, const auto& b) { return a.size() < b.size(); });
}

}  // namespace tessarel
