#pragma once
// Whether a path named by the registry exists, and how a registry text is
// judged as a path. Nothing here opens a file: only attributes are read, so
// a file another program holds, a device or a named pipe is never touched.
// Worker thread (any thread).

#include <cstdint>
#include <string>

namespace regscan {

enum path_verdict : std::int32_t {
  path_exists = 0,     // the text names an existing file
  path_missing = 1,    // a drive path whose file exists nowhere
  path_unjudged = 2,   // empty, short, a UNC, device or pipe text, no drive path
};

// Judges a command line or path text:
// - "X:\prog.exe" "arg": the path ends at the quote that closes the first;
// - X:\prog.exe args: exists when the whole text, or any prefix of it that
//   ends just before a blank, names an existing file;
// - texts beginning with \\ (shares, devices, pipes), texts without a drive
//   letter, colon and separator, and texts under 3 characters: unjudged.
path_verdict check_path_text(const std::wstring& text);

// True when path names an existing file that is not a folder. A sharing
// violation or access denied counts as existing. On 64-bit Windows a 32-bit
// program also looks with file-system redirection off.
bool file_exists(const std::wstring& path);

// The same for a folder.
bool folder_exists(const std::wstring& path);

}  // namespace regscan
