#pragma once
// What the user interface lists for a cell of the registry map. Both read
// the store: user interface thread, only while no registry worker runs. Both
// append to out (never clearing it) and leave it unchanged when they return
// false.

#include <string>
#include <vector>

namespace regscan {

// Appends the problem text of every issue of the cell, in order. False when
// the cell is not below the number of groups (or out is null); an empty cell
// gives true and appends nothing.
bool get_group_problems(unsigned cell, std::vector<std::wstring>* out);

// Appends the detail lines of the issue at position in the cell: "问题: "
// and its problem, then "数据: " and its data, then "Registry Key:" and its
// key path, the last two broken into lines by vemo::split_path. False when
// the cell or the position is out of range (or out is null).
bool get_issue_details(unsigned position, unsigned cell, std::vector<std::wstring>* out);

}  // namespace regscan
