#pragma once
// The files the movers found lying in one extent (and the ones they just
// made so), kept for the optimisation pass of an optimised defragmentation:
// the largest first, files of one size in the order they were met.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace dravik {

struct optimize_entry {
  std::string path;   // full ANSI path, as long as it is
  uint64_t position;  // first cluster as the mover saw it (plus 2 on FAT when unmoved)
};

// Cluster count -> entry, largest count first. A multimap keeps entries with
// equal keys in the order of their insertion.
using optimize_map = std::multimap<uint64_t, optimize_entry, std::greater<uint64_t>>;

// Adds a file to the set *bound (nothing when it is null, as outside an
// optimised run). When memory runs out the entry is dropped and *bound is
// set null, so recording stops for the rest of the volume while the
// defragmentation goes on; the pass then works on what was recorded.
void record_for_optimisation(optimize_map*& bound, std::string_view path, uint64_t position,
                             uint64_t clusters) noexcept;

// Deletes every entry; the set is empty afterwards.
void free_optimize_set(optimize_map& set) noexcept;

}  // namespace dravik
