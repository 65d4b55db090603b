#pragma once
// The user's exclusions for the directory walks, and the tests the walkers
// make against them.
//
// The lists are written on the user interface thread (at load and by a
// confirmed options dialog) and read by the walkers; the options dialog is
// offered only while no job runs, so they never overlap.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace dravik {

// An entry must fit a 256-byte name buffer with its terminator. A longer
// entry stays in the dialog text and in "preset.ini" but is not listed, so
// it excludes nothing (a cut entry could match names the user never typed).
constexpr std::size_t max_exclusion_length = 255;

// Always excluded folders, first in excluded_folders, in this order; never
// shown in the dialog nor written to "preset.ini".
constexpr std::array<const char*, 8> builtin_excluded_folders = {
    "System Volume Information", "RECYCLER", "dllcache", "Help",
    "cache", "Fonts", "Installer", "Local Settings"};

enum class file_exclusion_kind { file, type };

// A "[file]" entry (a whole file name) or a "[type]" entry (an extension,
// without the dot).
struct file_exclusion {
  std::string name;
  file_exclusion_kind kind;

  bool operator==(const file_exclusion& other) const {
    return name == other.name && kind == other.kind;
  }
};

using folder_exclusions = std::vector<std::string>;
using file_exclusions = std::vector<file_exclusion>;

// The engine's lists: the built-in folders then the user's folder entries;
// the user's file and type entries in one list.
extern folder_exclusions excluded_folders;
extern file_exclusions excluded_files;

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

// Both walks: a file is excluded when its whole name equals a file entry, or
// its extension (the text after its last ".") equals a type entry, ASCII
// letters compared without regard to case.
bool file_name_excluded(const file_exclusions& files, const char* name);

// An empty entry never excludes anything in any of the three tests.

}  // namespace dravik
