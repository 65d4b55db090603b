#include "defrag/optimize_set.h"

namespace dravik {

void record_for_optimisation(optimize_map*& bound, std::string_view path, uint64_t position,
                             uint64_t clusters) noexcept {
  if (bound == nullptr) return;
  try {
    bound->emplace(clusters, optimize_entry{std::string(path), position});
  } catch (...) {
    bound = nullptr;
  }
}

void free_optimize_set(optimize_map& set) noexcept { set.clear(); }

}  // namespace dravik
