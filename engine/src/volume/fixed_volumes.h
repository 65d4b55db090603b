#pragma once
// The start-up record of every fixed drive C to Z.

#include <cstdio>

namespace dravik {

struct engine_state;

// For each letter C to Z whose drive is fixed: its file system, cluster counts
// and size texts, its cell map restored from "diskdata" (null file: zeros),
// and, when its volume opens and its bitmap reads, its open handle and cell
// size. Every fixed drive is counted, whether or not its volume opened.
void record_fixed_volumes(engine_state& engine, std::FILE* disk_data);

}  // namespace dravik
