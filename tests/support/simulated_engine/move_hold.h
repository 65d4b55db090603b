#pragma once
// A way for a test in another process to catch the simulated build in the
// middle of a defragmentation: while the file "simulated-hold-moves" lies
// beside the library, the move that is about to be made waits, after
// writing "simulated-moves-held" beside it. Deleting the hold file lets the
// moves go on. A test can thus act (press Stop, close the program) at a
// point it knows is inside the defragmentation phase.

#include "simulated_volume/simulated_volume.h"

namespace dravik::sim {

inline constexpr const wchar_t* hold_moves_file_name = L"simulated-hold-moves";
inline constexpr const wchar_t* moves_held_file_name = L"simulated-moves-held";

// The move hook that holds moves as above. A hold longer than two minutes
// is given up, so a test that dies never leaves the engine hanging.
move_hook hold_moves_hook();

}  // namespace dravik::sim
