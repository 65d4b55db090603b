#pragma once
// The user's exclusions for the directory walks, and the tests the walkers
// make against them.
//
// The engine keeps its lists in option_values (state/option_values.h).

#include <array>
#include <string>

#include "state/option_values.h"

namespace dravik {

// Always excluded folders, first in excluded_folders, in this order; never
// shown in the dialog nor written to "preset.ini".
constexpr std::array<const char*, 8> builtin_excluded_folders = {
    "System Volume Information", "RECYCLER", "dllcache", "Help",
    "cache", "Fonts", "Installer", "Local Settings"};

// Append an entry unless it is longer than max_exclusion_length; return
// whether it was appended. Empty entries are kept (they never match).
bool add_folder_exclusion(folder_exclusions& folders, const std::string& entry);
bool add_file_exclusion(file_exclusions& files, const std::string& entry,
                        file_exclusion_kind kind);

// The built-in folders alone.
folder_exclusions builtin_folder_exclusions();

// Analysis walk: a directory is excluded when its name equals an entry,
// ASCII letters compared without regard to case.
bool folder_name_excluded(const folder_exclusions& folders, const char* name);

// Defragmentation walk: a directory is excluded when its name contains an
// entry, compared exactly.
bool folder_name_contains_exclusion(const folder_exclusions& folders, const char* name);

// Analysis walk (the defragmentation walk tests no file entries): a file is
// excluded when its whole name equals a file entry, or its extension (the
// text after its last ".") equals a type entry, ASCII letters compared
// without regard to case.
bool file_name_excluded(const file_exclusions& files, const char* name);

// An empty entry never excludes anything in any of the three tests.

}  // namespace dravik
