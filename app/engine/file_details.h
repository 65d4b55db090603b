#pragma once
// One file's details from the engine. User interface thread, only while no
// job runs: the engine's file query shares its buffers with the workers.

#include <string>
#include <vector>

#include "engine/engine_binding.h"

namespace tessarel {

// Replaces lines with the details of the file at the full path: asks the
// engine for its extents and sizes (the path goes over in the ANSI code
// page) and formats them for a block whose colour code was saved_code. A
// file the engine cannot open shows its path alone. Always true: there is
// always something to show.
bool show_file_details(const engine_binding& binding, const std::wstring& path,
                       std::vector<std::wstring>& lines, int saved_code);

}  // namespace tessarel
