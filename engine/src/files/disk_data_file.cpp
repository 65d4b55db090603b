#include "files/disk_data_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace dravik {

namespace {

constexpr int counters_per_cell = 6;

int32_t load_le32(const unsigned char* p) {
  const uint32_t value = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                         uint32_t{p[3]} << 24;
  return static_cast<int32_t>(value);
}

void store_le32(unsigned char* p, int32_t signed_value) {
  const auto value = static_cast<uint32_t>(signed_value);
  p[0] = static_cast<unsigned char>(value);
  p[1] = static_cast<unsigned char>(value >> 8);
  p[2] = static_cast<unsigned char>(value >> 16);
  p[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace

void read_cell_map(std::FILE* disk_data, int slot, cell_map& cells) {
  std::vector<unsigned char> record(static_cast<size_t>(cell_map_bytes), 0);
  if (disk_data != nullptr && std::fseek(disk_data, slot * cell_map_bytes, SEEK_SET) == 0) {
    std::fread(record.data(), 1, record.size(), disk_data);
  }
  const unsigned char* p = record.data();
  for (cluster_cell& cell : cells) {
    cell_counts counts;
    int32_t* fields[counters_per_cell] = {&counts.in_use,           &counts.system_count,
                                          &counts.reserved,         &counts.fragmented_count,
                                          &counts.contiguous_count, &counts.settled_count};
    for (int32_t* field : fields) {
      *field = load_le32(p);
      p += 4;
    }
    cell.assign(counts);
  }
}

bool write_cell_map(std::FILE* disk_data, int slot, const cell_map& cells) {
  std::vector<unsigned char> record(static_cast<size_t>(cell_map_bytes));
  unsigned char* p = record.data();
  for (const cluster_cell& cell : cells) {
    const cell_counts counts = cell.counts();
    for (int32_t field : {counts.in_use, counts.system_count, counts.reserved,
                          counts.fragmented_count, counts.contiguous_count,
                          counts.settled_count}) {
      store_le32(p, field);
      p += 4;
    }
  }
  if (std::fseek(disk_data, slot * cell_map_bytes, SEEK_SET) != 0) return false;
  return std::fwrite(record.data(), 1, record.size(), disk_data) == record.size();
}

}  // namespace dravik
