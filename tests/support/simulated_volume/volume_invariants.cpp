// The model's own consistency: what a real volume guarantees and what every
// move must keep.
#include <string>

#include "names.h"
#include "volume_model.h"

namespace dravik::sim {

void volume_model::check(std::vector<std::string>& problems) const {
  // Rebuild the bitmap from its owners; a cluster claimed twice is reported
  // once per overlapping run.
  cluster_bitmap owned(bitmap_.size());
  auto own = [&](uint64_t lcn, uint64_t count, const std::string& owner) {
    if (lcn > owned.size() || count > owned.size() - lcn) {
      problems.push_back(owner + ": clusters " + std::to_string(lcn) + "+" + std::to_string(count) +
                         " lie beyond the volume");
      return;
    }
    if (!owned.range_clear(lcn, count)) {
      uint64_t at = lcn;
      while (!owned.test(at)) ++at;
      problems.push_back(owner + ": cluster " + std::to_string(at) + " is owned twice");
      for (uint64_t c = lcn; c < lcn + count; ++c) {
        if (!owned.test(c)) owned.set_range(c, 1);
      }
      return;
    }
    owned.set_range(lcn, count);
  };
  for (const cluster_range& range : reserved_) own(range.lcn, range.count, "reserved clusters");
  for (const cluster_range& range : taken_)
    own(range.lcn, range.count, "clusters taken by another process");

  for (node_id id = 0; id < nodes_.size(); ++id) {
    if (!alive(id)) continue;
    const node& entry = nodes_[id];
    if (id != root_node && (!alive(entry.parent) || child(entry.parent, name(id)) != id)) {
      problems.push_back(path_of(id) + ": not listed in its directory");
    }
    if (is_directory(id)) {
      const std::vector<node_id>& list = children(id);
      for (size_t i = 1; i < list.size(); ++i) {
        if (compare_names(name(list[i - 1]), name(list[i])) >= 0) {
          problems.push_back(path_of(id) + ": entries out of order at '" +
                             std::string(name(list[i])) + "'");
        }
      }
      if (entry.extent_count != 0) problems.push_back(path_of(id) + ": a directory with extents");
      continue;
    }
    // A file's clusters are counted once, at its data node.
    if (data_of(id) != id) continue;
    int64_t start = 0;
    for (uint32_t i = 0; i < entry.extent_count; ++i) {
      const extent& e = extents(id)[i];
      if (e.next_vcn <= start) {
        problems.push_back(path_of(id) + ": extent " + std::to_string(i) +
                           " is empty or goes back");
        break;
      }
      if (e.lcn != virtual_lcn) {
        if (e.lcn < 0) {
          problems.push_back(path_of(id) + ": extent " + std::to_string(i) + " has a negative LCN");
        } else {
          own(static_cast<uint64_t>(e.lcn), static_cast<uint64_t>(e.next_vcn - start), path_of(id));
          if (!tags_.empty()) {
            for (int64_t v = start; v < e.next_vcn; ++v) {
              const auto cluster = static_cast<size_t>(e.lcn + (v - start));
              if (cluster < tags_.size() && tags_[cluster] != content_tag(id, v)) {
                problems.push_back(path_of(id) + ": cluster " + std::to_string(cluster) +
                                   " does not hold VCN " + std::to_string(v));
                break;
              }
            }
          }
        }
      }
      start = e.next_vcn;
    }
    if (entry.extent_count > 0 && static_cast<uint64_t>(start) * bytes_per_cluster() < entry.size) {
      problems.push_back(path_of(id) + ": extents do not cover the size");
    }
  }

  check_links(problems, owned);
  const uint64_t differs = owned.first_difference(bitmap_);
  if (differs != bitmap_.size()) {
    problems.push_back(
        "bitmap disagrees with the owners at cluster " + std::to_string(differs) +
        (bitmap_.test(differs) ? " (marked used, owned by nothing)" : " (marked free, owned)"));
  }
  if (bitmap_.count_set() != bitmap_.used()) {
    problems.push_back("used-cluster count " + std::to_string(bitmap_.used()) +
                       " differs from the bitmap's " + std::to_string(bitmap_.count_set()));
  }
  if (!tags_.empty()) {
    for (uint64_t c = 0; c < tags_.size(); ++c) {
      if (tags_[c] != 0 && !owned.test(c)) {
        problems.push_back("cluster " + std::to_string(c) + " keeps data of a file that left it");
        break;
      }
    }
  }
}

}  // namespace dravik::sim
