#include "defrag/defrag_walk.h"

#include "text/ansi_text.h"
#include "volume/directory_walk.h"
#include "options/exclusion_lists.h"
#include "defrag/file_mover.h"

namespace dravik {

namespace {

class defrag_walker : public directory_walk<defrag_walker> {
 public:
  defrag_walker(defrag_records& records, const analysis_variant& variant) noexcept
      : directory_walk(records.walk, records.status), records_(records), variant_(variant) {}

  void walk_root() { walk_volume(records_.volumes[records_.job.working_slot].letter_string); }

 private:
  friend class directory_walk<defrag_walker>;

  // A stop seen anywhere in the walk means the volume was not walked to its
  // end: its date must not be recorded as a finished defragmentation, nor
  // its files optimised.
  bool stopping() noexcept {
    if (records_.job.stop_requested.get() == 0) return false;
    walk_.interrupted = 1;
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
      if (records_.exclusions != nullptr &&
          folder_name_contains_exclusion(*records_.exclusions, name))
        return;
      if (!hand_on(prefix, name, length, 2)) return;
      enter_directory(prefix, length);
      return;
    }

    walk_.files_scanned += 1;
    // A symbolic link opens as its target, possibly on another volume, which
    // this volume's move call must never be sent.
    if (attributes & (FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_REPARSE_POINT)) return;
    if (!hand_on(prefix, name, length, 0)) return;
    records_.cursor.in_system_folder = ansi_contains(walk_.walk_path, "system32") ? 1 : 0;
    walk_.file_size = uint64_t{record.nFileSizeHigh} << 32 | record.nFileSizeLow;
    const uint64_t bytes_per_cluster = records_.job.bytes_per_cluster;
    if (bytes_per_cluster != 0) records_.status.doneUnits.add(walk_.file_size / bytes_per_cluster);
    defrag_file(records_, variant_);
  }

  defrag_records& records_;
  const analysis_variant variant_;
};

}  // namespace

void defrag_tree(defrag_records& records, const analysis_variant& variant) {
  defrag_walker(records, variant).walk_root();
}

void defrag_tree_ntfs(defrag_records& records) { defrag_tree(records, {true, false}); }
void defrag_tree_ntfs_large(defrag_records& records) { defrag_tree(records, {true, true}); }
void defrag_tree_fat(defrag_records& records) { defrag_tree(records, {false, false}); }
void defrag_tree_fat_large(defrag_records& records) { defrag_tree(records, {false, true}); }

}  // namespace dravik
