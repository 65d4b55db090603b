#pragma once
// The user's options as the engine keeps them from load to unload: the four
// flags of "Setting" and the exclusion lists of the directory walks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dravik {

// An entry must fit a 256-byte name buffer with its terminator. A longer
// entry stays in the dialog text and in "preset.ini" but is not listed, so
// it excludes nothing (a cut entry could match names the user never typed).
constexpr std::size_t max_exclusion_length = 255;

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

// Every field is written on the user interface thread, at load and when the
// options or advanced dialog is confirmed; those dialogs are offered only
// while no job runs, so the workers that read the lists never overlap them.
struct option_values {
  // Option flags; only their low bytes are kept in "Setting". Written at load
  // and by a confirmed dialog; read by the flag exports and saved at unload.
  int32_t auto_run_flag = 0;       // options dialog: the program at Windows start-up
  int32_t logout_flag = 0;         // options dialog: shut down after defragmentation
  int32_t restart_flag = 0;        // options dialog: restart after defragmentation
  int32_t companion_run_flag = 0;  // advanced dialog: the companion at log-on

  // Written at load ("preset.ini") and by a confirmed options dialog; read
  // by the analysis and defragmentation walkers. The built-in folders then
  // the user's folder entries; the user's file and type entries in one list.
  folder_exclusions excluded_folders;
  file_exclusions excluded_files;
};

}  // namespace dravik
