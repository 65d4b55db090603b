#pragma once
// Writing the summary file: a reader sees the old file or the whole new one,
// never a part.

#include <string>
#include <string_view>

namespace dravik::sim {

// Writes text to path through a temporary file beside it. False when any
// step failed; path is then left as it was.
bool write_summary_file(const std::wstring& path, std::string_view text);

}  // namespace dravik::sim
