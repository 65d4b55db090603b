#pragma once
// "preset.ini": the exclusions in three sections "[folder]", "[file]" and
// "[type]", one entry per line, CR LF between lines and none after the last.

#include "options/exclusion_lists.h"

#include <string>
#include <vector>

namespace dravik {

// What a "preset.ini" holds: the dialog texts (each entry followed by ";")
// and the entries that fit the lists.
struct preset_contents {
  std::string folder_text;
  std::string file_text;
  std::string type_text;
  folder_exclusions folders;  // the user's folder entries, without the built-ins
  file_exclusions files;      // file and type entries in the order of their lines
};

// Reads the bytes of a "preset.ini". A line is cut at its first NUL byte (an
// entry that is then empty is kept but excludes nothing), then after its
// first "]"; if what remains is exactly "[folder]", "[file]" or "[type]" it
// starts that section, otherwise the cut line is an entry. Lines before the
// first header are ignored; sections may repeat.
preset_contents parse_presets(const std::string& bytes);

// The entries of a dialog text: every blank removed, then split at ";". A
// piece before a leading ";" or between two ";" is an empty entry; a ";" at
// the end adds none.
std::vector<std::string> split_entries(const std::string& text);

// The bytes of a "preset.ini" holding these entries; all three headers are
// written, also for empty sections.
std::string format_presets(const std::vector<std::string>& folders,
                           const std::vector<std::string>& files,
                           const std::vector<std::string>& types);

// The whole file; false when it cannot be opened.
bool read_preset_file(const std::string& path, std::string& bytes);

// Replaces the file with bytes (replace_file): false, with the old file
// untouched, when the new one cannot be written whole.
bool write_preset_file(const std::string& path, const std::string& bytes);

}  // namespace dravik
