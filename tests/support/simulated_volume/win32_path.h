#pragma once
// Splits the ANSI paths the engine hands to CreateFileA and FindFirstFileA
// the way Win32 resolves them before the file system sees them: "\\.\X:"
// names a volume; "X:\a\b", "\\.\X:\a\b" and "\\?\X:\a\b" name an entry; '/'
// is a separator, repeated separators collapse, "." and ".." resolve, and
// trailing dots and spaces leave each component (all but for "\\?\").
// Separators are found character by character, so a trail byte 0x5C inside
// a double-byte character never splits a name.

#include <windows.h>

#include <string_view>
#include <vector>

namespace dravik::sim {

struct win32_path {
  char letter = 0;                  // upper case
  bool volume = false;              // "\\.\X:" itself
  bool trailing_separator = false;  // the text ended with a separator
  // Below the root, outermost first; views into the parsed text.
  std::vector<std::string_view> components;
};

// Fills path (reusing its storage) and returns 0, or returns the error Win32 gives for the text:
// ERROR_FILENAME_EXCED_RANGE for MAX_PATH characters or more (the limit of
// the ANSI calls), ERROR_PATH_NOT_FOUND for an empty, relative or UNC path,
// ERROR_INVALID_NAME for a component with characters no name may hold
// ('*' and '?' only where allow_wildcards lets the last component have them).
DWORD parse_win32_path(const char* text, bool allow_wildcards, win32_path& path);

}  // namespace dravik::sim
