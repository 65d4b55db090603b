#pragma once
// The movers of the defragmentation walk: a fragmented file is moved, extent
// by extent, into the shortest free run that holds it whole, so that it ends
// in one extent.

#include "analysis/analysis_variant.h"
#include "defrag/defrag_records.h"

namespace dravik {

// A moved file with more extents than this takes its fragments out of the
// cells they lay in (the analysis counted only such files as fragmented).
constexpr uint32_t moved_extent_threshold = 10;

// Works on the file at the walk's walk_path, whose find record, size and
// in_system_folder flag the walk has set, on the volume bound to the walk.
//
// In an optimised run (the records' optimize_set bound) a file in one extent is
// recorded for the optimisation pass with its first cluster (plus the
// variant's offset) and length. A file of two extents or more, none virtual
// and no two touching end to end, is moved into the shortest free run of a
// fresh bitmap that holds it whole, the lowest such run among equals, one
// FSCTL_MOVE_FILE per extent. On NTFS, clusters that earlier moves of the
// volume's walk have freed count as in use there (the file system may still
// refuse them) unless no run holds the file without them; on other file
// systems they serve the next file at once. As the extents land one behind
// the other, a file whose moves end early is never left in more extents
// than it had; the cells of its old extents and its new place
// are updated when the variant examines a file of its size and read-only is
// not its only attribute. A file that then lies in one extent gets a row on
// the page, counts as moved and, in an optimised run, is recorded at the
// run's start. A file that does not open, whose extents cannot be read, for
// which no run is long enough, or whose move the file system refuses is left
// where it is (extents moved so far stay moved) with no row, a refusal
// counted in the mover's refused_moves and never retried; a stop during
// the moves ends the file the same way and sets interrupted.
//
// Holds the file open in the mover's current_file while it works; moving is
// 1 from the choice of a run until the file is done. Worker thread only.
void defrag_file(defrag_records& records, const analysis_variant& variant);

void defrag_file_ntfs(defrag_records& records);
void defrag_file_ntfs_large(defrag_records& records);
void defrag_file_fat(defrag_records& records);
void defrag_file_fat_large(defrag_records& records);

}  // namespace dravik
