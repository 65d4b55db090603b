#pragma once
// The lines of the detail list for a clicked map block, and the detail lines
// of one selected line. User interface thread, only while no job and no
// registry worker runs (the engine's lists and the registry store are stable
// only then).

#include <string>
#include <vector>

#include "details/detail_source.h"
#include "dravik/cell_file_list.h"
#include "engine/engine_binding.h"

namespace tessarel {

// Replaces lines with the engine's paths of one cell, widened from the ANSI
// code page, in the list's order. The list stays the engine's.
void collect_cell_files(std::vector<std::wstring>& lines, const CellFileList& files);

// Replaces lines with what the block of source lists: for volume_files the
// file paths of the volume's cell, asked of the engine only for a block below
// 1000 (the engine has lists for cells 0 to 999 alone); for registry_issues
// the problem texts of the registry cell. Anything else lists nothing.
void collect_block_lines(const detail_source& source, const engine_binding& binding,
                         std::vector<std::wstring>& lines);

// Replaces lines with the details of one selected line, looked up where the
// line came from: a file's details from the engine for a volume line, an
// issue's details from the registry store for a registry line. False (lines
// empty) when there are none to show.
bool collect_item_lines(const detail_line& line, const engine_binding& binding,
                        std::vector<std::wstring>& lines);

}  // namespace tessarel
