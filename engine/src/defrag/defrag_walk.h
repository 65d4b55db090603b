#pragma once
// The defragmentation walk of a volume's directory tree: every file but the
// sparse ones is handed to the mover of the volume's variant.

#include "analysis/analysis_variant.h"
#include "defrag/defrag_records.h"

namespace dravik {

// Walks the volume of the working slot from its root, recursively.
// Counts directories and files and adds each file's size to the progress.
// Passes over names beginning with ".", directories whose name contains an
// entry of the bound folder exclusions (compared exactly), directories that
// are reparse points, sparse files and entries whose full path would not fit
// walk_path; read-only entries are walked and moved like any other.
// in_system_folder is 1 for a file whose path contains "system32" (exact
// case). A stop ends the walk between entries and sets interrupted, since
// the volume was then not walked to its end. Worker thread only.
void defrag_tree(defrag_records& records, const analysis_variant& variant);

void defrag_tree_ntfs(defrag_records& records);
void defrag_tree_ntfs_large(defrag_records& records);
void defrag_tree_fat(defrag_records& records);
void defrag_tree_fat_large(defrag_records& records);

}  // namespace dravik
