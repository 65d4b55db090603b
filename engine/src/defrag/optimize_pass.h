#pragma once
// The optimisation pass of an optimised defragmentation: the files recorded
// in one extent move, the largest first, into the first free run that lies
// before them and holds them whole, so that files gather towards the start
// of the volume.

#include "defrag/defrag_records.h"
#include "defrag/optimize_set.h"

namespace dravik {

// Works on the volume of the working slot (its map bound to the cell cursor)
// and set, recorded by its defragmentation walk. For each entry,
// largest first, while no stop is requested: looks the file up (a file no
// longer found, or now a symbolic link, is passed over), reads the bitmap
// afresh, so each move sees
// the space the previous one left, and takes the first free run, in the
// order of the volume, that begins before the recorded position and is at
// least as long as the file (positions and lengths compared as signed
// numbers, so a position of -1 is never moved); opens the file and passes it
// over unless it still lies in one real extent of the recorded size at the
// recorded position (a file that grew or was replaced since the walk, or the
// second name of a hard-linked file already moved under its first); moves the
// whole file there with one FSCTL_MOVE_FILE and re-reads it (a file not now
// in one extent at the target gets no row and no cell change); appends its row to
// optimize_rows, moves its contiguous counts from the old to the new cells
// when it is larger than 1 MiB and read-only is not its only attribute, and
// takes the entry out of the set. An entry without a run, whose file does not
// open, whose bitmap read fails or whose move is refused stays in the set. A
// stop seen after an entry sets interrupted and ends the pass.
//
// Progress counts entries (totalUnits the set's size); while a file moves,
// the status shows its recorded position as the source. Defragmentation
// worker only, with optimising set.
void optimize_volume(defrag_records& records, optimize_map& set);

}  // namespace dravik
