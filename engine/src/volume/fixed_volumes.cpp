#include "volume/fixed_volumes.h"

#include <memory>
#include <string>

#include "files/disk_data_file.h"
#include "text/size_text.h"
#include "volume/volume_access.h"
#include "platform/volume_io.h"

namespace dravik {

namespace {

// True when the letter's drive is fixed, and so recorded.
bool record_fixed_volume(volume_tables& volumes, volume_bitmap& bitmap, cell_cursor& cursor,
                         char letter, std::FILE* disk_data) {
  const std::string letter_text(1, letter);
  const std::string root = letter_text + ":\\";
  const int slot = slot_of_letter(letter);
  volume_io& io = current_volume_io();
  if (io.get_drive_type(root.c_str()) != DRIVE_FIXED) return false;

  // A failed query leaves its values 0: the drive is still recorded.
  char volume_name[260] = {};
  char file_system[261] = {};
  io.get_volume_information(root.c_str(), volume_name, sizeof volume_name, nullptr, nullptr,
                            nullptr, file_system, sizeof file_system);
  file_system[sizeof file_system - 1] = '\0';
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, total_clusters = 0;
  io.get_disk_free_space(root.c_str(), &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                         &total_clusters);

  // 64-bit throughout: the used size of a large volume does not fit 32 bits.
  const uint64_t cluster_bytes = uint64_t{sectors_per_cluster} * bytes_per_sector;
  const uint64_t used_clusters = uint64_t{total_clusters} - free_clusters;
  volume_table_entry& entry = volumes[slot];
  entry.total_size_text = size_text(cluster_bytes * total_clusters);
  entry.used_size_text = size_text(used_clusters * cluster_bytes);
  entry.used_clusters = used_clusters;
  entry.file_system_name = file_system;
  entry.bytes_per_cluster = static_cast<uint32_t>(cluster_bytes);

  if (entry.cells == nullptr) {
    entry.free_clusters = free_clusters;
    entry.cells = std::make_unique<cell_map>();
    read_cell_map(disk_data, slot, *entry.cells);
  }

  if (open_volume(volumes, slot, letter_text)) {
    if (compute_cell_size(bitmap, entry.handle.get(), cursor)) {
      entry.clusters_per_cell = cursor.clusters_per_cell;
    } else {
      close_volume(entry);
    }
  }
  return true;
}

}  // namespace

int32_t record_fixed_volumes(volume_tables& volumes, volume_bitmap& bitmap, cell_cursor& cursor,
                             std::FILE* disk_data) {
  int32_t fixed_count = 0;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (record_fixed_volume(volumes, bitmap, cursor, letter, disk_data)) fixed_count += 1;
  }
  return fixed_count;
}

}  // namespace dravik
