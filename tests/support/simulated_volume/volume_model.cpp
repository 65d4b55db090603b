#include "volume_model.h"

#include <algorithm>
#include <stdexcept>

#include "names.h"

namespace dravik::sim {

namespace {

[[noreturn]] void test_mistake(const std::string& what) { throw std::invalid_argument(what); }

}  // namespace

volume_model::volume_model(volume_geometry geometry)
    : geometry_(std::move(geometry)), bitmap_(geometry_.total_clusters) {
  if (geometry_.bytes_per_sector == 0 || geometry_.sectors_per_cluster == 0) {
    test_mistake("a volume needs bytes per sector and sectors per cluster");
  }
  if (geometry_.track_contents) tags_.assign(static_cast<size_t>(geometry_.total_clusters), 0);
  // The root: a directory without a name that is its own parent.
  nodes_.push_back(node{root_node, 0, 0, true, FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0, 0, 0});
  directories_.emplace_back();
}

void volume_model::claim(uint64_t lcn, uint64_t count, const char* what) {
  if (count == 0) test_mistake(std::string(what) + ": empty cluster range");
  if (!bitmap_.range_clear(lcn, count) || any_held(lcn, count)) {
    test_mistake(std::string(what) + ": clusters " + std::to_string(lcn) + "+" +
                 std::to_string(count) + " are not free, held or not on the volume");
  }
  bitmap_.set_range(lcn, count);
}

void volume_model::reserve_room(size_t entries, size_t name_bytes, size_t extents) {
  nodes_.reserve(entries);
  names_.reserve(name_bytes);
  pool_.reserve(extents);
}

void volume_model::reserve(uint64_t lcn, uint64_t count) {
  claim(lcn, count, "reserve");
  reserved_.push_back({lcn, count});
}

uint64_t volume_model::take_free_clusters(uint64_t lcn, uint64_t count) {
  auto is_free = [&](uint64_t cluster) {
    return !bitmap_.test(cluster) && (held_.used() == 0 || !held_.test(cluster));
  };
  uint64_t taken = 0;
  const uint64_t end = std::min(lcn + count, bitmap_.size());
  for (uint64_t at = lcn; at < end;) {
    if (!is_free(at)) {
      ++at;
      continue;
    }
    uint64_t run = 1;
    while (at + run < end && is_free(at + run)) ++run;
    bitmap_.set_range(at, run);
    taken_.push_back({at, run});
    taken += run;
    at += run;
  }
  return taken;
}

std::vector<node_id>::const_iterator volume_model::position_in(const std::vector<node_id>& list,
                                                               std::string_view name) const {
  return std::lower_bound(list.begin(), list.end(), name, [&](node_id entry, std::string_view key) {
    return compare_names(this->name(entry), key) < 0;
  });
}

node_id volume_model::child(node_id directory, std::string_view name) const {
  const std::vector<node_id>& list = children(directory);
  const auto it = position_in(list, name);
  return it != list.end() && names_equal(this->name(*it), name) ? *it : no_node;
}

size_t volume_model::check_new_entry(node_id parent, std::string_view name) const {
  if (!alive(parent) || !is_directory(parent)) test_mistake("parent is not a directory");
  if (!is_valid_name(name)) test_mistake("invalid name '" + std::string(name) + "'");
  const std::vector<node_id>& list = children(parent);
  const auto it = position_in(list, name);
  if (it != list.end() && names_equal(this->name(*it), name)) {
    test_mistake("'" + std::string(name) + "' already exists in " + path_of(parent));
  }
  return static_cast<size_t>(it - list.begin());
}

node_id volume_model::add_node(node_id parent, std::string_view name, DWORD attributes,
                               uint64_t time) {
  const size_t position = check_new_entry(parent, name);
  if (nodes_.size() >= no_node) test_mistake("too many entries");
  const auto id = static_cast<node_id>(nodes_.size());
  std::vector<node_id>& list = directories_[nodes_[parent].directory];
  list.insert(list.begin() + static_cast<ptrdiff_t>(position), id);
  node entry{};
  entry.parent = parent;
  entry.name_at = static_cast<uint32_t>(names_.size());
  entry.name_length = static_cast<uint16_t>(name.size());
  entry.alive = true;
  entry.attributes = attributes;
  entry.time = time;
  entry.extents_at = static_cast<uint32_t>(pool_.size());
  names_.append(name);
  nodes_.push_back(entry);
  return id;
}

node_id volume_model::add_directory(node_id parent, std::string_view name, DWORD attributes,
                                    uint64_t time) {
  const node_id id = add_node(parent, name, attributes | FILE_ATTRIBUTE_DIRECTORY, time);
  nodes_[id].directory = static_cast<uint32_t>(directories_.size());
  directories_.emplace_back();
  return id;
}

node_id volume_model::add_file(node_id parent, std::string_view name, uint64_t size,
                               const file_run* runs, size_t run_count, DWORD attributes,
                               uint64_t time) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    test_mistake("a file cannot have FILE_ATTRIBUTE_DIRECTORY");
  }
  // Everything that can refuse the entry comes before its clusters are claimed.
  check_new_entry(parent, name);
  std::vector<extent>& extents = scratch_;
  extents.clear();
  int64_t vcn = 0;
  for (size_t i = 0; i < run_count; ++i) {
    if (runs[i].length == 0) test_mistake("empty run in '" + std::string(name) + "'");
    vcn += static_cast<int64_t>(runs[i].length);
    extents.push_back({vcn, runs[i].lcn});
  }
  if (run_count > 0 && static_cast<uint64_t>(vcn) * bytes_per_cluster() < size) {
    test_mistake("runs of '" + std::string(name) + "' do not cover its size");
  }
  // Claim clusters before the entry exists, so a failed claim leaves nothing.
  size_t claimed = 0;
  try {
    for (; claimed < run_count; ++claimed) {
      if (runs[claimed].lcn != virtual_lcn) {
        claim(static_cast<uint64_t>(runs[claimed].lcn), runs[claimed].length, "add_file");
      }
    }
  } catch (...) {
    for (size_t i = 0; i < claimed; ++i) {
      if (runs[i].lcn != virtual_lcn)
        bitmap_.clear_range(static_cast<uint64_t>(runs[i].lcn), runs[i].length);
    }
    throw;
  }
  const node_id id = add_node(parent, name, attributes, time);
  nodes_[id].size = size;
  store_extents(id, extents.data(), static_cast<uint32_t>(extents.size()));
  if (!tags_.empty()) {
    int64_t start = 0;
    for (const extent& e : extents) {
      if (e.lcn != virtual_lcn) {
        for (int64_t v = start; v < e.next_vcn; ++v) {
          tags_[static_cast<size_t>(e.lcn + (v - start))] = content_tag(id, v);
        }
      }
      start = e.next_vcn;
    }
  }
  return id;
}

void volume_model::store_extents(node_id file, const extent* extents, uint32_t count) {
  node& entry = nodes_[file];
  if (count > entry.extent_capacity) {
    // Grow at the end of the pool; the old block becomes garbage, and the
    // pool is compacted once garbage outweighs what is in use.
    pool_garbage_ += entry.extent_capacity;
    if (pool_garbage_ > 1024 && pool_garbage_ * 2 > pool_.size()) {
      std::vector<extent> compact;
      compact.reserve(pool_.size() - pool_garbage_ + count);
      for (node& other : nodes_) {
        const uint32_t keep = &other == &entry ? 0 : other.extent_capacity;
        const auto at = static_cast<uint32_t>(compact.size());
        compact.insert(compact.end(), pool_.begin() + other.extents_at,
                       pool_.begin() + other.extents_at + keep);
        other.extents_at = at;
        if (&other == &entry) other.extent_capacity = 0;
      }
      pool_.swap(compact);
      pool_garbage_ = 0;
    }
    entry.extents_at = static_cast<uint32_t>(pool_.size());
    entry.extent_capacity =
        entry.extent_capacity == 0 ? count : std::max(count, entry.extent_capacity * 2);
    pool_.resize(pool_.size() + entry.extent_capacity);
  }
  std::copy(extents, extents + count, pool_.begin() + entry.extents_at);
  entry.extent_count = count;
}

void volume_model::remove(node_id node) {
  if (node == root_node || !alive(node)) test_mistake("remove: no such entry");
  if (is_directory(node) && !children(node).empty()) test_mistake("remove: directory not empty");
  if (remove_shared_name(node)) return;
  int64_t start = 0;
  for (uint32_t i = 0; i < extent_count(node); ++i) {
    const extent& e = extents(node)[i];
    if (e.lcn != virtual_lcn) {
      const auto count = static_cast<uint64_t>(e.next_vcn - start);
      bitmap_.clear_range(static_cast<uint64_t>(e.lcn), count);
      if (!tags_.empty()) {
        std::fill_n(tags_.begin() + static_cast<ptrdiff_t>(e.lcn), count, 0u);
      }
    }
    start = e.next_vcn;
  }
  drop_entry(node);
}

void volume_model::drop_entry(node_id node) {
  std::vector<node_id>& list = directories_[nodes_[parent(node)].directory];
  list.erase(std::find(list.begin(), list.end(), node));
  nodes_[node].alive = false;
  nodes_[node].extent_count = 0;
  pool_garbage_ += nodes_[node].extent_capacity;
  nodes_[node].extent_capacity = 0;
  open_errors_.erase(node);
  junction_targets_.erase(node);
  symlink_targets_.erase(node);
}

void volume_model::set_open_error(node_id node, DWORD error) {
  if (!alive(node)) test_mistake("set_open_error: no such entry");
  if (error == 0) {
    open_errors_.erase(node);
  } else {
    open_errors_[node] = error;
  }
}

DWORD volume_model::open_error(node_id node) const {
  if (open_errors_.empty()) return 0;
  auto it = open_errors_.find(node);
  return it == open_errors_.end() ? 0 : it->second;
}

void volume_model::set_junction_target(node_id junction, node_id target) {
  if (!alive(junction) || !is_junction(junction))
    test_mistake("set_junction_target: not a junction");
  if (!alive(target) || !is_directory(target))
    test_mistake("set_junction_target: target is not a directory");
  junction_targets_[junction] = target;
}

DWORD volume_model::follow_junction(node_id junction, node_id& target) const {
  auto it = junction_targets_.find(junction);
  if (it == junction_targets_.end() || !alive(it->second)) return ERROR_ACCESS_DENIED;
  target = it->second;
  return 0;
}

DWORD volume_model::enter_directories(const std::string_view* components, size_t count,
                                      bool last_must_be_directory, node_id& directory) const {
  node_id at = root_node;
  for (size_t i = 0; i < count; ++i) {
    const node_id next = child(at, components[i]);
    if (next == no_node) return ERROR_PATH_NOT_FOUND;
    if (!is_directory(next)) {
      return last_must_be_directory && i + 1 == count ? ERROR_DIRECTORY : ERROR_PATH_NOT_FOUND;
    }
    at = next;
    // Junctions are followed in a bounded number of steps: a loop of
    // junctions ends in ERROR_ACCESS_DENIED instead of hanging.
    for (int hops = 0; is_junction(at); ++hops) {
      if (hops == 32 || follow_junction(at, at) != 0) return ERROR_ACCESS_DENIED;
    }
  }
  directory = at;
  return 0;
}

int64_t volume_model::allocated_vcns(node_id node) const {
  const uint32_t count = extent_count(node);
  return count == 0 ? 0 : extents(node)[count - 1].next_vcn;
}

const std::vector<node_id>& volume_model::children(node_id directory) const {
  return directories_[nodes_[directory].directory];
}

std::string volume_model::path_of(node_id node) const {
  if (node == root_node) return "\\";
  std::vector<std::string_view> parts;
  for (node_id at = node; at != root_node; at = parent(at)) parts.push_back(name(at));
  std::string path;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    path += '\\';
    path.append(*it);
  }
  return path;
}

size_t volume_model::memory_bytes() const {
  size_t bytes = bitmap_.memory_bytes() + nodes_.capacity() * sizeof(node) + names_.capacity() +
                 directories_.capacity() * sizeof(directories_[0]) +
                 pool_.capacity() * sizeof(extent) + tags_.capacity() * sizeof(uint32_t) +
                 scratch_.capacity() * sizeof(extent) + held_.memory_bytes();
  for (const std::vector<node_id>& list : directories_) bytes += list.capacity() * sizeof(node_id);
  return bytes;
}

uint32_t volume_model::content_tag(node_id file, int64_t vcn) const {
  // Distinct for every (file, vcn) pair in practice and never 0, the tag of
  // a cluster no file owns.
  uint64_t x = (uint64_t{file} << 32) ^ static_cast<uint64_t>(vcn) ^ 0x9E3779B97F4A7C15ull;
  x ^= x >> 31;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 29;
  return static_cast<uint32_t>(x) | 1u;
}

void volume_model::set_extents_for_test(node_id file, const std::vector<extent>& extents) {
  store_extents(file, extents.data(), static_cast<uint32_t>(extents.size()));
}

}  // namespace dravik::sim
