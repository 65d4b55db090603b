#pragma once
// The file list of one map cell, as the engine hands it to the program.
//
// A sequence of pointers to NUL-terminated ANSI full paths, in the order the
// analysis found them. The engine owns the list and every text in it; the
// program only walks it from first to last element and never frees anything.
// Both deliverables are built by the same toolchain for the same bitness, so
// they agree on this container's layout.
//
// A list is stable only while no run is active: an analysis empties every
// list of the volume it takes (freeing their storage and texts) and refills
// them as it walks, so the program reads a list only while idle, and never
// keeps one, or a path from it, across a run.

#include <vector>

using CellFileList = std::vector<char*>;

static_assert(sizeof(CellFileList) == 3 * sizeof(void*),
              "the program walks the engine's list with the same vector layout");
