#include "analysis_walk.h"

#include <cstring>

#include "analysis_file.h"
#include "ansi_text.h"
#include "find_handle.h"
#include "volume_io.h"

namespace dravik {

namespace {

class tree_walker {
 public:
  tree_walker(engine_context& context, const analysis_variant& variant) noexcept
      : context_(context), walk_(context.walk), variant_(variant) {}

  void walk_root() {
    const std::string& letter = context_.letter_strings[context_.working_slot];
    if (letter.empty()) return;
    char* path = walk_.walk_path;
    path[0] = letter[0];
    path[1] = ':';
    path[2] = '\\';
    context_.cursor.in_system_folder = 0;
    walk_directory(3);
  }

 private:
  bool stopping() const noexcept { return context_.stop_requested.get() != 0; }

  // walk_path[0, prefix) is the directory's path with its trailing backslash.
  // Deeper levels write only past their own prefix, so the prefix is still
  // there when they return: one path buffer serves the whole walk.
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
      // The platform ends every name within the record; the last byte is
      // cleared all the same, so no record is ever read past its end.
      char* name = walk_.find_record.cFileName;
      name[sizeof walk_.find_record.cFileName - 1] = '\0';
      const std::size_t length = std::strlen(name);
      context_.current_entry_name.set(name);
      if (stopping()) return;
      take_entry(prefix, length);
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

  // The entry in the find record, whose name is length bytes long.
  void take_entry(std::size_t prefix, std::size_t length) {
    const WIN32_FIND_DATAA& record = walk_.find_record;
    const char* name = record.cFileName;
    // ".", ".." and any other name beginning with a dot.
    if (name[0] == '.') return;
    const DWORD attributes = record.dwFileAttributes;

    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      walk_.directories_scanned += 1;
      if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SPARSE_FILE |
                        FILE_ATTRIBUTE_REPARSE_POINT))
        return;
      walk_.excluded = walk_.exclusions.folder_excluded(name, length) ? 1 : 0;
      if (walk_.excluded) return;
      // The directory's path, then "\*" for its search.
      if (!hand_on(prefix, name, length, 2)) return;
      // The prefix holds "system32" exactly when this directory's flag is set,
      // and no match can span the backslash: only the new name needs a look.
      const uint8_t outer = context_.cursor.in_system_folder;
      if (outer == 0 && ansi_contains_ignoring_case(name, length, "system32"))
        context_.cursor.in_system_folder = 1;
      walk_.walk_path[prefix + length] = '\\';
      walk_directory(prefix + length + 1);
      context_.cursor.in_system_folder = outer;
      return;
    }

    walk_.files_scanned += 1;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SPARSE_FILE)) return;
    walk_.file_size = uint64_t{record.nFileSizeHigh} << 32 | record.nFileSizeLow;
    if (!variant_.examines(walk_.file_size)) return;
    walk_.excluded = walk_.exclusions.file_excluded(name, length) ? 1 : 0;
    if (walk_.excluded) return;
    if (!hand_on(prefix, name, length, 0)) return;
    analyse_file(context_, variant_.lcn_offset());
  }

  engine_context& context_;
  walk_state& walk_;
  const analysis_variant variant_;
};

}  // namespace

void analyse_tree(engine_context& context, const analysis_variant& variant) {
  tree_walker(context, variant).walk_root();
}

void analyse_tree_ntfs(engine_context& context) { analyse_tree(context, {true, false}); }
void analyse_tree_ntfs_large(engine_context& context) { analyse_tree(context, {true, true}); }
void analyse_tree_fat(engine_context& context) { analyse_tree(context, {false, false}); }
void analyse_tree_fat_large(engine_context& context) { analyse_tree(context, {false, true}); }

}  // namespace dravik
