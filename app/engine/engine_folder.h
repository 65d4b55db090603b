#pragma once
// Whether the engine can keep its files in the program folder. The engine
// names its files in the ANSI code page, by the folder's long name where that
// converts exactly and else by its short name (tessarel/ansi_path.h); in a
// folder with neither it would read and write none of its files, while its
// start-up and shut-down still ran as if it had.
//
// The short-name lookup goes through a seam: Wine always makes short names,
// so tests install one that answers as a volume without them. User interface
// thread only.

#include <string>

#include "tessarel/ansi_path.h"

namespace tessarel {

// True when the folder (with or without its trailing backslash) has a name
// in the ANSI code page, long or short.
bool engine_can_use_folder(const std::wstring& program_folder);

// Installs lookup (null restores GetShortPathNameW) and returns the one it
// replaces.
short_path_function install_short_path_lookup(short_path_function lookup);

}  // namespace tessarel
