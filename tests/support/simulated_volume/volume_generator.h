#pragma once
// Builds realistic simulated volumes from a seed and a few parameters, for
// tests and benchmarks. The same settings always give the same volume, on
// every build: the generator uses its own random numbers, no library
// distribution.
//
// The volume has a tree of folders (with "Windows\System32" and the entries
// Windows keeps at the root of a system drive), many small files and a few
// huge ones, a share of fragmented files whose extents lie scattered over
// the volume, compressed and sparse files with virtual extents (NTFS only),
// files without clusters, and free space partly at the end, partly in gaps
// between files.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "volume_model.h"

namespace dravik::sim {

struct generator_settings {
  uint64_t seed = 1;
  std::string file_system = "NTFS";
  DWORD bytes_per_sector = 512;
  DWORD sectors_per_cluster = 8;
  uint64_t total_clusters = uint64_t{1} << 20;

  uint32_t files = 10000;
  uint32_t folders = 1000;  // the fixed folders included
  uint32_t max_depth = 8;   // folders below the root, at most

  // File sizes: small from 256 bytes (2% of them empty) to 64 KiB, medium to
  // 1 MiB, large to 64 MiB, the rest huge (to 4 GiB before the large and
  // huge sizes are scaled so the files fill the volume to 1 - free_share).
  double small_share = 0.70;
  double medium_share = 0.25;
  double large_share = 0.049;

  double fragmented_share = 0.05;  // of the files with two clusters or more
  uint32_t min_fragments = 2;
  uint32_t max_fragments = 200;
  double compressed_share = 0.01;  // NTFS only
  double sparse_share = 0.005;     // NTFS only

  double free_share = 0.30;   // of the volume
  double free_scatter = 0.5;  // 0: all free space at the end; 1: all of it in gaps

  bool system32 = true;  // "Windows\System32" and "Windows\System32\drivers"
  double system32_share = 0.02;
  // pagefile.sys (never opens), "System Volume Information" and the
  // "Documents and Settings" junction that denies access.
  bool system_entries = true;
  double read_only_share = 0.01;  // of files and of folders
  double hidden_share = 0.01;

  bool track_contents = false;  // see volume_geometry
};

struct generated_volume_summary {
  uint32_t files = 0;
  uint32_t folders = 0;
  uint32_t fragmented_files = 0;  // more than one real extent
  uint32_t compressed_files = 0;
  uint32_t sparse_files = 0;
  uint32_t files_without_clusters = 0;
  uint64_t extents = 0;  // virtual ones included
  uint64_t reserved_clusters = 0;
  uint64_t used_clusters = 0;  // reserved ones included
  uint64_t free_clusters = 0;
  uint64_t free_runs = 0;
};

// Throws std::invalid_argument for settings no volume can meet.
std::unique_ptr<volume_model> generate_volume(const generator_settings& settings,
                                              generated_volume_summary* summary = nullptr);

}  // namespace dravik::sim
