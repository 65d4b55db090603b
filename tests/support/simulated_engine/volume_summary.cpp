#include "simulated_engine/volume_summary.h"

#include <algorithm>
#include <vector>

#include "options/exclusion_lists.h"

namespace dravik::sim {

namespace {

uint64_t longest_free_run(const cluster_bitmap& bitmap) {
  uint64_t longest = 0, run = 0;
  for (uint64_t cluster = 0; cluster < bitmap.size(); ++cluster) {
    run = bitmap.test(cluster) ? 0 : run + 1;
    longest = std::max(longest, run);
  }
  return longest;
}

// Which directories the engine's defragmentation walk enters: not those
// below a reparse point, named with a leading ".", or whose name contains
// one of the folders the engine always leaves out.
std::vector<bool> walked_directories(const volume_model& volume) {
  const folder_exclusions excluded = builtin_folder_exclusions();
  std::vector<bool> walked(volume.node_count(), false);
  walked[root_node] = true;
  // A parent is made before its entries, so its id is the lower one.
  for (node_id node = root_node + 1; node < volume.node_count(); ++node) {
    if (!volume.alive(node) || !volume.is_directory(node)) continue;
    const std::string name(volume.name(node));
    walked[node] = walked[volume.parent(node)] && name[0] != '.' &&
                   (volume.attributes(node) & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
                   !folder_name_contains_exclusion(excluded, name.c_str());
  }
  return walked;
}

}  // namespace

bool volume_summary::operator==(const volume_summary& other) const {
  return letter == other.letter && file_system == other.file_system && files == other.files &&
         extents == other.extents && fragmented_files == other.fragmented_files &&
         unmovable_fragmented_files == other.unmovable_fragmented_files &&
         free_bytes == other.free_bytes && invariants_hold == other.invariants_hold &&
         problems == other.problems;
}

volume_summary summarise_volume(char letter, const volume_model& volume) {
  volume_summary summary;
  summary.letter = letter;
  summary.file_system = volume.geometry().file_system;
  const cluster_bitmap& bitmap = volume.bitmap();
  summary.free_bytes = (bitmap.size() - bitmap.used()) * volume.bytes_per_cluster();
  const uint64_t longest_free = longest_free_run(bitmap);
  const std::vector<bool> walked = walked_directories(volume);

  for (node_id node = 0; node < volume.node_count(); ++node) {
    // A file's later names share its extents: count the file at its data node.
    if (!volume.alive(node) || volume.is_directory(node) || volume.is_file_symlink(node) ||
        volume.data_of(node) != node) {
      continue;
    }
    ++summary.files;
    const uint32_t count = volume.extent_count(node);
    summary.extents += count;
    uint32_t real = 0;
    bool has_virtual = false;
    int64_t vcn = 0;
    uint64_t clusters = 0;
    for (uint32_t i = 0; i < count; ++i) {
      const extent& e = volume.extents(node)[i];
      if (e.lcn == virtual_lcn) {
        has_virtual = true;
      } else {
        ++real;
        clusters += static_cast<uint64_t>(e.next_vcn - vcn);
      }
      vcn = e.next_vcn;
    }
    if (real < 2) continue;
    ++summary.fragmented_files;
    const bool sparse = (volume.attributes(node) & FILE_ATTRIBUTE_SPARSE_FILE) != 0;
    const bool passed_over = !walked[volume.parent(node)] || volume.name(node)[0] == '.';
    if (passed_over || volume.open_error(node) != 0 || sparse || has_virtual ||
        clusters > longest_free) {
      ++summary.unmovable_fragmented_files;
    }
  }

  volume.check(summary.problems);
  summary.invariants_hold = summary.problems.empty();
  if (summary.problems.size() > summary_problem_limit) {
    summary.problems.resize(summary_problem_limit);
  }
  return summary;
}

std::optional<std::vector<volume_summary>> summarise_volumes(const simulated_volume& sim,
                                                             std::chrono::milliseconds wait) {
  std::vector<volume_summary> volumes;
  const bool visited = sim.visit_volumes(
      [&](char letter, const volume_model& volume) {
        volumes.push_back(summarise_volume(letter, volume));
      },
      wait);
  if (!visited) return std::nullopt;
  return volumes;
}

}  // namespace dravik::sim
