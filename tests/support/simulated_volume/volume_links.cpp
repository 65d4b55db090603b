// Hard links, file symbolic links and the delayed reuse of freed clusters in
// one volume model.
#include <stdexcept>

#include "volume_model.h"

namespace dravik::sim {

namespace {

[[noreturn]] void test_mistake(const std::string& what) { throw std::invalid_argument(what); }

}  // namespace

node_id volume_model::add_hard_link(node_id file, node_id parent, std::string_view name) {
  if (!alive(file)) test_mistake("add_hard_link: no such file");
  if (is_directory(file)) test_mistake("add_hard_link: a directory takes no hard link");
  if (is_file_symlink(file)) test_mistake("add_hard_link: symbolic links take none here");
  const node_id data = data_of(file);
  const node_id id = add_node(parent, name, attributes(data), time(data));
  nodes_[id].size = size(data);
  link_data_[id] = data;
  return id;
}

node_id volume_model::add_file_symlink(node_id parent, std::string_view name, std::string target,
                                       uint64_t time) {
  const node_id id =
      add_node(parent, name, FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE, time);
  symlink_targets_[id] = std::move(target);
  return id;
}

bool volume_model::remove_shared_name(node_id node) {
  if (link_data_.empty()) return false;
  const auto it = link_data_.find(node);
  if (it != link_data_.end()) {
    link_data_.erase(it);
    drop_entry(node);
    return true;
  }
  // The data node goes: its oldest other name, if any, takes the extents.
  node_id heir = no_node;
  for (const auto& [name, data] : link_data_) {
    if (data == node && name < heir) heir = name;
  }
  if (heir == no_node) return false;
  scratch_.assign(extents(node), extents(node) + extent_count(node));
  link_data_.erase(heir);
  for (auto& entry : link_data_) {
    if (entry.second == node) entry.second = heir;
  }
  store_extents(heir, scratch_.data(), static_cast<uint32_t>(scratch_.size()));
  // Content tags name the data node: same data, new owner.
  if (!tags_.empty()) {
    int64_t start = 0;
    for (const extent& e : scratch_) {
      if (e.lcn != virtual_lcn) {
        for (int64_t v = start; v < e.next_vcn; ++v) {
          tags_[static_cast<size_t>(e.lcn + (v - start))] = content_tag(heir, v);
        }
      }
      start = e.next_vcn;
    }
  }
  drop_entry(node);
  return true;
}

void volume_model::set_holding(bool hold) {
  holding_ = hold;
  if (!hold) {
    held_ = cluster_bitmap();
  } else if (held_.size() == 0) {
    held_ = cluster_bitmap(bitmap_.size());
  }
}

void volume_model::release_held() {
  if (held_.used() != 0) held_ = cluster_bitmap(bitmap_.size());
}

void volume_model::check_links(std::vector<std::string>& problems,
                               const cluster_bitmap& owned) const {
  for (const auto& [name, data] : link_data_) {
    if (!alive(name)) {
      problems.push_back("a removed name still refers to " + path_of(data));
    } else if (!alive(data) || is_directory(data) || data_of(data) != data) {
      problems.push_back(path_of(name) + ": a hard link to no file");
    } else if (nodes_[name].extent_count != 0) {
      problems.push_back(path_of(name) + ": a hard link with extents of its own");
    }
  }
  for (const auto& entry : symlink_targets_) {
    const node_id link = entry.first;
    if (!alive(link)) {
      problems.push_back("a removed symbolic link keeps its target");
    } else if (nodes_[link].extent_count != 0 || nodes_[link].size != 0) {
      problems.push_back(path_of(link) + ": a symbolic link with data");
    }
  }
  if (held_.used() == 0) return;
  if (held_.count_set() != held_.used()) problems.push_back("held-cluster count is off");
  for (uint64_t c = 0; c < held_.size(); ++c) {
    if (held_.test(c) && (bitmap_.test(c) || owned.test(c))) {
      problems.push_back("cluster " + std::to_string(c) + " is held but in use");
      break;
    }
  }
}

}  // namespace dravik::sim
