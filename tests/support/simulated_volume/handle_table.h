#pragma once
// The handles a simulated_volume hands out. A handle value carries its slot
// and a generation, so a handle used after it was closed (even once its slot
// is reused) is recognised as invalid instead of reaching another object.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "volume_model.h"

namespace dravik::sim {

enum class handle_kind : uint8_t { volume, file, directory, find };

// What a find handle walks: the matching entries of one directory, read when
// the search began. Entries removed since are passed over.
struct find_state {
  node_id directory = root_node;
  std::vector<node_id> entries;  // dot_entry and dot_dot_entry stand for "." and ".."
  size_t next = 0;
};
constexpr node_id dot_entry = no_node - 1;
constexpr node_id dot_dot_entry = no_node - 2;

struct open_handle {
  handle_kind kind = handle_kind::file;
  char letter = 0;
  node_id node = no_node;
  std::unique_ptr<find_state> find;
};

class handle_table {
 public:
  HANDLE open(open_handle entry);
  // The entry of a live handle, or null.
  open_handle* find(HANDLE handle);
  // Closes a live handle; false when it is not one.
  bool close(HANDLE handle);

  size_t open_count() const { return open_count_; }
  // Every open handle, for leak reports.
  template <typename Visit>
  void for_each_open(Visit visit) const {
    for (const slot& s : slots_) {
      if (s.in_use) visit(s.entry);
    }
  }

 private:
  struct slot {
    open_handle entry;
    uint32_t generation = 0;
    bool in_use = false;
  };
  std::vector<slot> slots_;
  std::vector<uint32_t> free_;
  size_t open_count_ = 0;
};

}  // namespace dravik::sim
