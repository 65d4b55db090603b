#pragma once
// Where the engine keeps its data files: the folder of the host executable.

#include <string>

namespace dravik {

// The full path of the executable of the running process in the ANSI code
// page: its long name where that converts exactly, else its short name
// (tessarel/ansi_path.h), so that the files named after its folder are
// reachable. Where neither converts, the path GetModuleFileNameA gives.
std::string running_executable_path();

// The path cut after its last backslash, the backslash kept ("C:\app\" for
// "C:\app\Tessarel.exe"); empty when it holds none.
std::string folder_of_path(const std::string& path);

}  // namespace dravik
