#include "analysis/analysis_walk.h"

#include "analysis/analysis_file.h"
#include "text/ansi_text.h"
#include "volume/directory_walk.h"

namespace dravik {

namespace {

class tree_walker : public directory_walk<tree_walker> {
 public:
  tree_walker(const analysis_walk_records& records, const analysis_variant& variant) noexcept
      : directory_walk(records.walk, records.status), records_(records), variant_(variant) {}

  void walk_root() {
    records_.cursor.in_system_folder = 0;
    walk_volume(records_.volumes[records_.job.working_slot].letter_string);
  }

 private:
  friend class directory_walk<tree_walker>;

  bool stopping() const noexcept { return records_.job.stop_requested.get() != 0; }

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
      walk_.excluded = records_.exclusions.folder_excluded(name, length) ? 1 : 0;
      if (walk_.excluded) return;
      // The directory's path, then "\*" for its search.
      if (!hand_on(prefix, name, length, 2)) return;
      // The prefix holds "system32" exactly when this directory's flag is set,
      // and no match can span the backslash: only the new name needs a look.
      const uint8_t outer = records_.cursor.in_system_folder;
      if (outer == 0 && ansi_contains_ignoring_case(name, length, "system32"))
        records_.cursor.in_system_folder = 1;
      enter_directory(prefix, length);
      records_.cursor.in_system_folder = outer;
      return;
    }

    walk_.files_scanned += 1;
    // A symbolic link opens as its target, possibly on another volume, whose
    // clusters do not belong on this volume's map.
    if (attributes &
        (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_REPARSE_POINT))
      return;
    walk_.file_size = uint64_t{record.nFileSizeHigh} << 32 | record.nFileSizeLow;
    if (!variant_.examines(walk_.file_size)) return;
    walk_.excluded = records_.exclusions.file_excluded(name, length) ? 1 : 0;
    if (walk_.excluded) return;
    if (!hand_on(prefix, name, length, 0)) return;
    analyse_file(records_, variant_.lcn_offset());
  }

  const analysis_walk_records& records_;
  const analysis_variant variant_;
};

}  // namespace

void analyse_tree(const analysis_walk_records& records, const analysis_variant& variant) {
  tree_walker(records, variant).walk_root();
}

void analyse_tree_ntfs(const analysis_walk_records& records) {
  analyse_tree(records, {true, false});
}
void analyse_tree_ntfs_large(const analysis_walk_records& records) {
  analyse_tree(records, {true, true});
}
void analyse_tree_fat(const analysis_walk_records& records) {
  analyse_tree(records, {false, false});
}
void analyse_tree_fat_large(const analysis_walk_records& records) {
  analyse_tree(records, {false, true});
}

}  // namespace dravik
