#include "options/exclusion_lists.h"

#include "text/ansi_text.h"

namespace dravik {

bool add_folder_exclusion(folder_exclusions& folders, const std::string& entry) {
  if (entry.size() > max_exclusion_length) return false;
  folders.push_back(entry);
  return true;
}

bool add_file_exclusion(file_exclusions& files, const std::string& entry,
                        file_exclusion_kind kind) {
  if (entry.size() > max_exclusion_length) return false;
  files.push_back({entry, kind});
  return true;
}

folder_exclusions builtin_folder_exclusions() {
  return folder_exclusions(builtin_excluded_folders.begin(), builtin_excluded_folders.end());
}

// Empty entries come from ";;" or an empty line in "preset.ini". They are
// kept so the file and the dialog text round-trip, but an empty entry would
// be "contained" in every directory name and exclude the whole volume from
// the defragmentation walk, so no test lets one match.

bool folder_name_excluded(const folder_exclusions& folders, const char* name) {
  for (const std::string& entry : folders)
    if (!entry.empty() && ansi_equal_ignoring_case(name, entry.c_str())) return true;
  return false;
}

bool folder_name_contains_exclusion(const folder_exclusions& folders, const char* name) {
  for (const std::string& entry : folders)
    if (!entry.empty() && ansi_contains(name, entry.c_str())) return true;
  return false;
}

namespace {

// The text after the last "." of a file name, or null when it has none.
const char* extension_of(const char* name) {
  const char* extension = nullptr;
  for (const char* p = name; *p != '\0'; p += ansi_char_length(p))
    if (*p == '.') extension = p + 1;
  return extension;
}

}  // namespace

bool file_name_excluded(const file_exclusions& files, const char* name) {
  const char* extension = extension_of(name);
  for (const file_exclusion& entry : files) {
    if (entry.name.empty()) continue;
    if (entry.kind == file_exclusion_kind::file) {
      if (ansi_equal_ignoring_case(name, entry.name.c_str())) return true;
    } else if (extension && ansi_equal_ignoring_case(extension, entry.name.c_str())) {
      return true;
    }
  }
  return false;
}

}  // namespace dravik
