#pragma once
// The analysis walk of a volume's directory tree: every directory entered,
// every file handed to the per-file analysis, as the volume's variant asks.

#include "analysis/analysis_variant.h"
#include "core/engine_context.h"

namespace dravik {

// Walks the volume bound to the context (its working_slot, with the walk's
// bindings in place) from its root, recursively. Counts directories and
// files; passes over names beginning with ".", read-only and sparse entries,
// directories that are reparse points (a junction leads elsewhere, possibly
// back up the tree), excluded names, small files in the large variants, and
// entries whose full path would not fit walk_path. in_system_folder is 1 for
// files below a directory whose path contains "system32" in any case. Ends
// early, between entries, when a stop is requested. Worker thread only.
void analyse_tree(engine_context& context, const analysis_variant& variant);

void analyse_tree_ntfs(engine_context& context);
void analyse_tree_ntfs_large(engine_context& context);
void analyse_tree_fat(engine_context& context);
void analyse_tree_fat_large(engine_context& context);

}  // namespace dravik
