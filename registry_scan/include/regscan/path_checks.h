#pragma once
// Whether a path named by the registry exists, and how a registry text is
// judged as a path. Nothing here opens a file: only attributes are read, so
// a file another program holds, a device or a named pipe is never touched.
// A path is called missing only when the system says so for certain: on a
// fixed drive that is present, with "file not found" or "path not found".
// Worker thread (any thread).

#include <cstdint>
#include <string>

namespace regscan {

enum path_verdict : std::int32_t {
  path_exists = 0,     // the text names an existing file or folder
  path_missing = 1,    // a drive path that certainly exists nowhere
  path_unjudged = 2,   // anything the checks cannot be sure of
};

enum class path_presence { present, absent, unknown };

// How a category reads its texts as paths.
struct path_rules {
  // Tried after a program name without an extension (".exe", ".dll"), as
  // the system's loaders do; null: none.
  const wchar_t* default_extension = nullptr;
  // A 32-bit program on 64-bit Windows also looks for a path under the
  // 32-bit program-files or common-files folder under the native one.
  bool native_folders = false;
};

// What a look for a path wants to find.
enum class path_kind {
  file_or_folder,
  file,  // a folder counts as not there
};

// Judges a command line (run entries, application paths, class servers):
// - "X:\prog.exe" "arg": the path ends at the quote that closes the first;
// - X:\prog.exe args: the whole text and every part of it that ends just
//   before a blank or a tab are the program's possible paths; it exists when
//   one of them does, and is missing only when every one is certainly absent.
//   A part cut off before a blank counts only when it names a file: the
//   system's loader starts nothing else, so a folder such as C:\Program
//   Files in front of C:\Program Files (x86)\... is passed over;
// - texts beginning with \\ (shares, devices, pipes), texts without a drive
//   letter, colon and separator, and texts under 3 characters: unjudged.
path_verdict check_path_text(const std::wstring& text, const path_rules& rules = {});

// Judges a path (a shared library's name, a help file's path) whole, never
// cut at a blank: it exists when a file or a folder of that name does.
// Texts beginning with \\ or without a drive letter, colon and separator:
// unjudged.
path_verdict check_whole_path(const std::wstring& path);

// Whether path names an existing file or folder (or, with path_kind::file,
// an existing file). Unknown for a path of MAX_PATH characters or more, one
// holding a '%', one whose drive is not a fixed drive that is present, any
// failure but "file not found" and "path not found" (a sharing violation,
// access denied, an invalid name), and a path that is not there but passes
// through a reparse point (a junction, a symbolic link, a mounted volume:
// its target may be away). On 64-bit Windows a 32-bit program also looks
// with file-system redirection off.
path_presence look_up_path(const std::wstring& path, bool native_folders = false,
                           path_kind wanted = path_kind::file_or_folder);

// True when path names an existing folder.
bool folder_exists(const std::wstring& path);

}  // namespace regscan
