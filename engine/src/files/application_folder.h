#pragma once
// Where the engine keeps its data files: the folder of the host executable.

#include <string>

namespace dravik {

// The full path of the executable of the running process (ANSI, at most 259
// characters, as GetModuleFileNameA gives it into a 260-byte buffer).
std::string running_executable_path();

// The path cut after its last backslash, the backslash kept ("C:\app\" for
// "C:\app\Tessarel.exe"); empty when it holds none.
std::string folder_of_path(const std::string& path);

}  // namespace dravik
