#pragma once
// What the simulated volumes look like after the engine has worked on them:
// per volume its files, extents, fragmented files and whether the
// simulator's invariants hold. The simulated build of the engine writes it
// at unload as text, one line per volume, for the end-to-end tests:
//
//   C NTFS files=6000 extents=7344 fragmented_files=431
//       unmovable_fragmented_files=57 free_bytes=368766976 invariants=ok
//   C problem: <one line per broken invariant, at most a few>
//
// (one line, wrapped here). Lines starting with "#" are comments.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulated_volume/simulated_volume.h"

namespace dravik::sim {

struct volume_summary {
  char letter = 0;
  std::string file_system;
  uint64_t files = 0;    // each file once, whatever its number of names
  uint64_t extents = 0;  // virtual ones included
  uint64_t fragmented_files = 0;  // more than one real extent
  // Fragmented files the engine's defragmentation leaves as they are: they
  // lie where its walk does not go (below a folder it always excludes, such
  // as "cache", a junction, or a name with a leading "."), do not open, are
  // sparse, have virtual extents, or are longer than the longest free run.
  uint64_t unmovable_fragmented_files = 0;
  uint64_t free_bytes = 0;
  bool invariants_hold = false;
  std::vector<std::string> problems;  // the first few broken invariants

  bool operator==(const volume_summary& other) const;
};

// How many broken invariants a summary keeps per volume.
constexpr size_t summary_problem_limit = 10;

volume_summary summarise_volume(char letter, const volume_model& volume);

// Every volume of sim in letter order; nullopt when its lock stays taken
// longer than wait (see simulated_volume::visit_volumes).
std::optional<std::vector<volume_summary>> summarise_volumes(const simulated_volume& sim,
                                                             std::chrono::milliseconds wait);

std::string format_volume_summaries(const std::vector<volume_summary>& volumes);

// The volumes of a text format_volume_summaries wrote; nullopt for a line
// that is neither a comment, a volume nor a problem of a volume before it.
std::optional<std::vector<volume_summary>> parse_volume_summaries(std::string_view text);

}  // namespace dravik::sim
