#pragma once
// The directory walk both workers share: one path buffer for the whole tree,
// the walk's find record, the entry name the status shows, and a stop test
// before every entry. A walker derives from directory_walk<itself> and
// supplies
//   bool stopping();                                  // end the walk now?
//   void take_entry(std::size_t prefix, std::size_t length);
// where the entry is the find record, its name length bytes long, and
// walk_path[0, prefix) is its directory's path with the trailing backslash.
// Worker thread only.

#include <cstddef>
#include <cstring>

#include <string>

#include "platform/volume_io.h"
#include "state/status_feed.h"
#include "state/walk_state.h"
#include "volume/find_handle.h"
#include "volume/redirection_off.h"

namespace dravik {

template <class Walker>
class directory_walk {
 protected:
  directory_walk(walk_state& walk, status_feed& status) noexcept
      : walk_(walk), status_(status) {}

  // The root of the volume of letter (the working slot's letter string);
  // false (nothing walked) when it is empty: the slot has no open volume.
  bool walk_volume(const std::string& letter) {
    if (letter.empty()) return false;
    char* path = walk_.walk_path;
    path[0] = letter[0];
    path[1] = ':';
    path[2] = '\\';
    // Once for the whole tree: the walk, the per-file reads and the moves
    // all see the volume's real names.
    const redirection_off real_names;
    walk_directory(3);
    return true;
  }

  // Deeper levels write only past their own prefix, so the prefix is still
  // there when they return.
  void walk_directory(std::size_t prefix) {
    Walker& walker = static_cast<Walker&>(*this);
    if (walker.stopping()) return;
    char* path = walk_.walk_path;
    path[prefix] = '*';
    path[prefix + 1] = '\0';
    walk_.walk_path_length = prefix + 1;
    volume_io& io = current_volume_io();
    const find_handle search(io.find_first_file(path, &walk_.find_record));
    if (!search.is_open()) return;
    do {
      // The platform ends every name within the record; the last byte is
      // cleared all the same, so no record is ever read past its end.
      char* name = walk_.find_record.cFileName;
      name[sizeof walk_.find_record.cFileName - 1] = '\0';
      const std::size_t length = std::strlen(name);
      status_.current_entry_name.set(name);
      if (walker.stopping()) return;
      walker.take_entry(prefix, length);
    } while (io.find_next_file(search.get(), &walk_.find_record));
  }

  // Puts name after the prefix as the full path to hand on; false when it
  // does not fit with room for extra more bytes and the NUL.
  bool hand_on(std::size_t prefix, const char* name, std::size_t length, std::size_t extra) {
    if (prefix + length + extra + 1 > walk_state::path_capacity) return false;
    std::memcpy(walk_.walk_path + prefix, name, length);
    walk_.walk_path[prefix + length] = '\0';
    walk_.walk_path_length = prefix + length;
    return true;
  }

  // Walks into the directory whose name hand_on has just put after prefix.
  void enter_directory(std::size_t prefix, std::size_t length) {
    walk_.walk_path[prefix + length] = '\\';
    walk_directory(prefix + length + 1);
  }

  walk_state& walk_;
  status_feed& status_;
};

}  // namespace dravik
