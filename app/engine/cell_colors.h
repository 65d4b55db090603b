#pragma once
// A volume's cell colours as the map takes them. User interface thread.

#include <cstdint>
#include <vector>

#include "engine/engine_binding.h"

namespace tessarel {

// Appends the 1000 colour codes of the volume letter to codes, cell 0 first.
// When set_current, the volume is first made the engine's current one (its
// colours then follow its own last defragmentation). A table the engine
// does not give counts as 1000 free cells.
void collect_cell_colors(wchar_t letter, const engine_binding& binding,
                         std::vector<int32_t>& codes, bool set_current);

}  // namespace tessarel
