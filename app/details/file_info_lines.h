#pragma once
// The detail lines of one file as the block item window shows them. Any
// thread; plain values only.

#include <string>
#include <vector>

#include "dravik/file_extent_info.h"

namespace tessarel {

// Replaces lines with the file's details: its fragment state (no fragments
// for one extent; a sparse file in a block of colour code 1; else the extent
// count), its size in clusters and in bytes, then "文件名: " and the path
// broken into lines at backslashes. A null info (the engine could not open
// the file) gives the path lines alone.
void format_file_info(std::vector<std::wstring>& lines, const std::wstring& path,
                      const FileExtentInfo* info, int saved_code);

}  // namespace tessarel
