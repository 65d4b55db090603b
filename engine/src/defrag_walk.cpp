#include "defrag_walk.h"

#include <cstring>

#include "ansi_text.h"
#include "exclusion_lists.h"
#include "file_mover.h"
#include "find_handle.h"
#include "volume_io.h"

namespace dravik {

namespace {

class defrag_walker {
 public:
  defrag_walker(engine_context& context, const analysis_variant& variant) noexcept
      : context_(context), walk_(context.walk), variant_(variant) {}

  void walk_root() {
    const std::string& letter = context_.letter_strings[context_.working_slot];
    if (letter.empty()) return;
    char* path = walk_.walk_path;
    path[0] = letter[0];
    path[1] = ':';
    path[2] = '\\';
    walk_directory(3);
  }

 private:
  // A stop seen anywhere in the walk means the volume was not walked to its
  // end: its date must not be recorded as a finished defragmentation, nor
  // its files optimised.
  bool stopping() noexcept {
    if (context_.stop_requested.get() == 0) return false;
    walk_.interrupted = 1;
    return true;
  }

  // walk_path[0, prefix) is the directory's path with its trailing backslash;
  // deeper levels write only past it (as in the analysis walk).
  void walk_directory(std::size_t prefix) {
    if (stopping()) return;
    char* path = walk_.walk_path;
    path[prefix] = '*';
    path[prefix + 1] = '\0';
    walk_.walk_path_length = prefix + 1;
    volume_io& io = current_volume_io();
    const find_handle search(io.find_first_file(path, &walk_.find_record));
    if (!search.is_open()) return;
    do {
      char* name = walk_.find_record.cFileName;
      name[sizeof walk_.find_record.cFileName - 1] = '\0';
      const std::size_t length = std::strlen(name);
      context_.current_entry_name.set(name);
      if (stopping()) return;
      take_entry(prefix, length);
    } while (io.find_next_file(search.get(), &walk_.find_record));
  }

  bool hand_on(std::size_t prefix, const char* name, std::size_t length, std::size_t extra) {
    if (prefix + length + extra + 1 > walk_state::path_capacity) return false;
    std::memcpy(walk_.walk_path + prefix, name, length);
    walk_.walk_path[prefix + length] = '\0';
    walk_.walk_path_length = prefix + length;
    return true;
  }

  void take_entry(std::size_t prefix, std::size_t length) {
    const WIN32_FIND_DATAA& record = walk_.find_record;
    const char* name = record.cFileName;
    if (name[0] == '.') return;
    const DWORD attributes = record.dwFileAttributes;

    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      walk_.directories_scanned += 1;
      // A junction leads elsewhere, possibly back up the tree or onto
      // another volume, whose files this volume's handle cannot move.
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
      if (walk_.defrag_exclusions != nullptr &&
          folder_name_contains_exclusion(*walk_.defrag_exclusions, name))
        return;
      if (!hand_on(prefix, name, length, 2)) return;
      walk_.walk_path[prefix + length] = '\\';
      walk_directory(prefix + length + 1);
      return;
    }

    walk_.files_scanned += 1;
    if (attributes & FILE_ATTRIBUTE_SPARSE_FILE) return;
    if (!hand_on(prefix, name, length, 0)) return;
    context_.cursor.in_system_folder = ansi_contains(walk_.walk_path, "system32") ? 1 : 0;
    walk_.file_size = uint64_t{record.nFileSizeHigh} << 32 | record.nFileSizeLow;
    const uint64_t bytes_per_cluster = context_.bytes_per_cluster;
    if (bytes_per_cluster != 0) context_.doneUnits.add(walk_.file_size / bytes_per_cluster);
    defrag_file(context_, variant_);
  }

  engine_context& context_;
  walk_state& walk_;
  const analysis_variant variant_;
};

}  // namespace

void defrag_tree(engine_context& context, const analysis_variant& variant) {
  defrag_walker(context, variant).walk_root();
}

void defrag_tree_ntfs(engine_context& context) { defrag_tree(context, {true, false}); }
void defrag_tree_ntfs_large(engine_context& context) { defrag_tree(context, {true, true}); }
void defrag_tree_fat(engine_context& context) { defrag_tree(context, {false, false}); }
void defrag_tree_fat_large(engine_context& context) { defrag_tree(context, {false, true}); }

}  // namespace dravik
