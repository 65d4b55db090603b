#pragma once
// The lines of facts about a volume shown at the upper left of the map.

#include <string>
#include <vector>

#include "dravik/volume_info.h"

namespace tessarel {

// Eight lines from the engine's record (cluster size, clusters per block,
// free and used clusters, total and used size, file system, letter); for a
// null record, the one line "打开卷失败.". letter: its low byte is the drive
// letter, shown sign-extended as an ANSI byte widens. The record's texts are
// read no further than their fields. Any thread.
std::vector<std::wstring> volume_info_lines(const VolumeInfo* info, wchar_t letter);

}  // namespace tessarel
