#pragma once
// What the directory walks keep while they run: the path being handed on, the
// one find record of every level, the counters of the volume's page and the
// volume they are bound to. The analysis and the defragmentation worker share
// it; they never run at the same time, and only the running worker touches
// it (the status poll reads the status feed instead). What a walk is bound to
// beyond its slot's file lists (exclusions, the optimisation set) is handed to
// it by the analysis and defragmentation bindings.

#include <windows.h>

#include <cstddef>
#include <cstdint>


namespace dravik {

class slot_file_lists;

struct walk_state {
  // Room for a full path. An entry whose path would not fit is passed over.
  static constexpr std::size_t path_capacity = 1000;

  // Full path of the entry being handed on (a directory to enter or a file to
  // examine), NUL-terminated; walk_path_length bytes before the NUL.
  char walk_path[path_capacity] = {};
  std::size_t walk_path_length = 0;

  // The find record of all walk levels: each level reads it only between its
  // own FindFirstFileA/FindNextFileA calls.
  WIN32_FIND_DATAA find_record{};

  uint8_t excluded = 0;  // result of the last exclusion test

  // Counts of the volume's page.
  uint64_t directories_scanned = 0;  // excluded and skipped ones included
  uint64_t files_scanned = 0;        // skipped ones included
  int32_t big_fragment_files = 0;    // listed files (moved files when defragmenting)
  int32_t small_fragment_files = 0;  // fragmented files with 10 extents or fewer

  // The file being examined.
  uint64_t file_size = 0;
  uint64_t file_clusters = 0;
  uint64_t longest_free_run = 0;  // of the volume, found before the walk
  uint32_t extent_index = 0;
  uint8_t virtual_extent = 0;
  uint8_t adjacent_extents = 0;

  // Set by the defragmentation and optimisation passes when they meet a stop;
  // cleared by the defragmentation worker at its start.
  uint8_t interrupted = 0;

  // The volume the walk is bound to: its file lists (null outside an
  // analysis) and the recency found for it (1: no rows are listed).
  slot_file_lists* file_lists = nullptr;
  int32_t recency_state = 0;
};

}  // namespace dravik
