#pragma once
// One simulated volume: geometry, the cluster bitmap, the directory tree and
// every file's extents, kept consistent with each other. It answers the
// bodies of the three control codes in the platform's buffer formats and
// moves clusters the way the file system does.
//
// A file may have several names (hard links): one entry, its data node,
// holds the extents and the others refer to it; every lookup of extents
// goes through data_of. File symbolic links are entries without clusters
// that keep their target as a path text ("X:\dir\name"), followed by
// simulated_volume since the target may lie on another volume.
//
// Not thread-safe on its own: simulated_volume guards it with its lock.
// Building calls throw std::invalid_argument on misuse (a test bug); the
// calls the engine reaches return Win32 error codes and never throw.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cluster_bitmap.h"

namespace dravik::sim {

// A run of a file as tests describe it; virtual_lcn marks a run without
// clusters on the volume (a sparse hole, the freed tail of a compression unit).
constexpr int64_t virtual_lcn = -1;
struct file_run {
  int64_t lcn;
  uint64_t length;
};

// One extent as FSCTL_GET_RETRIEVAL_POINTERS reports it.
struct extent {
  int64_t next_vcn;
  int64_t lcn;
};

using node_id = uint32_t;
constexpr node_id no_node = 0xFFFFFFFFu;
constexpr node_id root_node = 0;

struct volume_geometry {
  std::string file_system = "NTFS";
  DWORD bytes_per_sector = 512;
  DWORD sectors_per_cluster = 8;
  uint64_t total_clusters = 0;
  std::string label;
  DWORD serial_number = 0x5EED0001;
  // Give every cluster of a file a content tag and check after moves that
  // each cluster still holds the file's data in order. Costs 4 bytes per
  // cluster: for small test volumes.
  bool track_contents = false;
};

// Clusters held by something other than a file: reserved by the file system,
// or taken by "another process" while a test runs.
struct cluster_range {
  uint64_t lcn;
  uint64_t count;
};

class volume_model {
 public:
  explicit volume_model(volume_geometry geometry);
  volume_model(const volume_model&) = delete;
  volume_model& operator=(const volume_model&) = delete;

  const volume_geometry& geometry() const { return geometry_; }
  uint64_t bytes_per_cluster() const {
    return uint64_t{geometry_.bytes_per_sector} * geometry_.sectors_per_cluster;
  }
  bool is_ntfs() const { return geometry_.file_system == "NTFS"; }
  const cluster_bitmap& bitmap() const { return bitmap_; }

  // --- building ---------------------------------------------------------
  // Room for this many entries, bytes of names and extents, so a large
  // volume is built without the slack of growing containers.
  void reserve_room(size_t entries, size_t name_bytes, size_t extents);
  void reserve(uint64_t lcn, uint64_t count);
  node_id add_directory(node_id parent, std::string_view name, DWORD attributes, uint64_t time);
  // Runs are kept as given (two runs that touch stay two extents).
  node_id add_file(node_id parent, std::string_view name, uint64_t size, const file_run* runs,
                   size_t run_count, DWORD attributes, uint64_t time);
  // A file, or an empty directory; frees the file's clusters with its last
  // name.
  void remove(node_id node);
  // The error every open of the entry fails with (ERROR_SHARING_VIOLATION,
  // ERROR_ACCESS_DENIED, ...); 0 lets it open.
  void set_open_error(node_id node, DWORD error);
  // Where a junction (a directory with FILE_ATTRIBUTE_REPARSE_POINT) leads.
  // A junction without a target denies access, as the legacy compatibility
  // junctions of Windows do.
  void set_junction_target(node_id junction, node_id target);
  // Marks the free clusters of [lcn, lcn + count) used by another process;
  // returns how many it took. Held clusters are not free for it.
  uint64_t take_free_clusters(uint64_t lcn, uint64_t count);
  // Another name in parent for an existing file (its size, attributes and
  // times are the file's; the model never changes them). Throws for a
  // directory or a symbolic link.
  node_id add_hard_link(node_id file, node_id parent, std::string_view name);
  // A file symbolic link: FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE,
  // size 0, no clusters. The target is not checked.
  node_id add_file_symlink(node_id parent, std::string_view name, std::string target,
                           uint64_t time);

  // --- delayed reuse of freed clusters -------------------------------------
  // While holding, the clusters a move frees are free in the bitmap but no
  // move may target them, until release_held (a checkpoint). Turning holding
  // off releases them.
  void set_holding(bool hold);
  void release_held();
  uint64_t held_count() const { return held_.used(); }

  // --- lookup -----------------------------------------------------------
  node_id child(node_id directory, std::string_view name) const;
  // Enters components [0, count) as directories from the root, through
  // junctions. 0 and the directory reached, or ERROR_PATH_NOT_FOUND (missing
  // or not a directory), ERROR_DIRECTORY (only the last is not a directory,
  // when last_must_be_directory), ERROR_ACCESS_DENIED (a junction without
  // target).
  DWORD enter_directories(const std::string_view* components, size_t count,
                          bool last_must_be_directory, node_id& directory) const;
  // Where a junction leads: 0 and the target, or ERROR_ACCESS_DENIED.
  DWORD follow_junction(node_id junction, node_id& target) const;

  bool alive(node_id node) const { return node < nodes_.size() && nodes_[node].alive; }
  bool is_directory(node_id node) const {
    return (nodes_[node].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  bool is_junction(node_id node) const {
    return is_directory(node) && (nodes_[node].attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  }
  bool is_file_symlink(node_id node) const {
    return !symlink_targets_.empty() && symlink_targets_.count(node) != 0;
  }
  // The path a file symbolic link names.
  const std::string& symlink_target(node_id link) const { return symlink_targets_.at(link); }
  // The entry that holds the extents of a file's name: itself unless the
  // name is a hard link added later.
  node_id data_of(node_id node) const {
    if (link_data_.empty()) return node;
    const auto it = link_data_.find(node);
    return it == link_data_.end() ? node : it->second;
  }
  std::string_view name(node_id node) const {
    return std::string_view(names_).substr(nodes_[node].name_at, nodes_[node].name_length);
  }
  node_id parent(node_id node) const { return nodes_[node].parent; }
  DWORD attributes(node_id node) const { return nodes_[node].attributes; }
  uint64_t size(node_id node) const { return nodes_[node].size; }
  uint64_t time(node_id node) const { return nodes_[node].time; }
  DWORD open_error(node_id node) const;
  const extent* extents(node_id node) const {
    return pool_.data() + nodes_[data_of(node)].extents_at;
  }
  uint32_t extent_count(node_id node) const { return nodes_[data_of(node)].extent_count; }
  int64_t allocated_vcns(node_id node) const;
  // Entries of a directory, sorted by compare_names; ids grow in creation order.
  const std::vector<node_id>& children(node_id directory) const;
  // "\dir\name" below the volume's root ("\" for the root).
  std::string path_of(node_id node) const;
  size_t node_count() const { return nodes_.size(); }
  // Heap bytes the model holds (capacities, not sizes).
  size_t memory_bytes() const;

  // --- control code bodies ------------------------------------------------
  // Each fills the caller's output buffer and *returned and gives 0 or a
  // Win32 error (ERROR_MORE_DATA comes with the part that fits).
  DWORD read_bitmap(int64_t starting_lcn, void* out, DWORD out_size, DWORD* returned) const;
  DWORD read_extents(node_id file, int64_t starting_vcn, void* out, DWORD out_size,
                     DWORD* returned) const;
  // The volume handle's own map: the bad-cluster stream of NTFS, one virtual
  // extent as long as the volume.
  DWORD read_volume_extents(int64_t starting_vcn, void* out, DWORD out_size, DWORD* returned) const;
  // Moves [vcn, vcn + count) of the file to [lcn, lcn + count); every
  // target cluster must be free and not held, and the range real clusters
  // of the file.
  DWORD move(node_id file, int64_t vcn, int64_t lcn, DWORD count);

  // --- invariants -----------------------------------------------------------
  // Appends one line per broken rule: bitmap = reserved + taken + extents, no
  // cluster owned twice, extents well formed and covering the size, content
  // tags in order, directory lists sorted and linked, names of a file and
  // symbolic links without clusters of their own, held clusters free.
  void check(std::vector<std::string>& problems) const;

  // For tests of the check itself: state it must notice.
  cluster_bitmap& bitmap_for_test() { return bitmap_; }
  void set_extents_for_test(node_id file, const std::vector<extent>& extents);

 private:
  struct node {
    node_id parent;
    uint32_t name_at;
    uint16_t name_length;
    bool alive;
    DWORD attributes;
    uint64_t size;
    uint64_t time;
    uint32_t extents_at;
    uint32_t extent_count;
    uint32_t extent_capacity;
    uint32_t directory;  // index into directories_, for directories
  };

  // The first entry of a directory list not ordered before name.
  std::vector<node_id>::const_iterator position_in(const std::vector<node_id>& list,
                                                   std::string_view name) const;
  // Where a new entry goes in its directory's list; throws when the parent
  // or the name cannot take it.
  size_t check_new_entry(node_id parent, std::string_view name) const;
  node_id add_node(node_id parent, std::string_view name, DWORD attributes, uint64_t time);
  void store_extents(node_id file, const extent* extents, uint32_t count);
  uint32_t first_extent_after(node_id file, int64_t vcn) const;
  uint32_t content_tag(node_id file, int64_t vcn) const;
  void claim(uint64_t lcn, uint64_t count, const char* what);
  bool any_held(uint64_t lcn, uint64_t count) const {
    return held_.used() != 0 && !held_.range_clear(lcn, count);
  }
  // Removes a name of a file with other names and returns true: the clusters
  // stay, and when the name was the data node another name takes the
  // extents over. False, changing nothing, for a file with one name.
  bool remove_shared_name(node_id node);
  // Takes a removed entry out of its directory and every table.
  void drop_entry(node_id node);
  void check_links(std::vector<std::string>& problems, const cluster_bitmap& owned) const;

  volume_geometry geometry_;
  cluster_bitmap bitmap_;
  std::vector<node> nodes_;
  std::string names_;
  std::vector<std::vector<node_id>> directories_;
  std::vector<extent> pool_;
  uint64_t pool_garbage_ = 0;
  std::vector<cluster_range> reserved_;
  std::vector<cluster_range> taken_;
  std::unordered_map<node_id, DWORD> open_errors_;
  std::unordered_map<node_id, node_id> junction_targets_;
  std::unordered_map<node_id, node_id> link_data_;  // a later name -> its file's data node
  std::unordered_map<node_id, std::string> symlink_targets_;
  bool holding_ = false;
  cluster_bitmap held_;  // sized while holding
  std::vector<uint32_t> tags_;
  std::vector<extent> scratch_;
};

}  // namespace dravik::sim
