#pragma once
// What a volume's page shows, taken from the volume's facts at load and the
// counts of the walk that just ran.

#include "reports/report_pages.h"
#include "state/volume_tables.h"
#include "state/walk_state.h"

namespace dravik {

inline volume_figures volume_figures_of(const volume_table_entry& volume, char letter) {
  volume_figures figures;
  figures.letter = letter;
  figures.file_system_name = volume.file_system_name;
  figures.total_size_text = volume.total_size_text;
  figures.used_size_text = volume.used_size_text;
  figures.bytes_per_cluster = volume.bytes_per_cluster;
  figures.used_clusters = volume.used_clusters;
  figures.free_clusters = volume.free_clusters;
  return figures;
}

inline walk_figures walk_figures_of(const walk_state& walk) noexcept {
  walk_figures counts;
  counts.directories_scanned = walk.directories_scanned;
  counts.files_scanned = walk.files_scanned;
  counts.big_fragment_files = walk.big_fragment_files;
  counts.small_fragment_files = walk.small_fragment_files;
  return counts;
}

}  // namespace dravik
