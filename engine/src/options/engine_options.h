#pragma once
// The engine's options: exclusion lists and dialog texts from "preset.ini",
// option flags in "Setting", and the options dialog that edits them.
// Everything here runs on the user interface thread while no job runs.

#include "options/filter_dialog.h"
#include "options/option_flags_file.h"

#include <string>

namespace dravik {

// The parts of the engine's state that the options work on; all of them are
// the engine's globals, set up at load.
struct engine_option_state {
  const std::string& application_folder;    // with its trailing backslash
  const std::string& host_executable_path;  // data of the start-up Run value
  option_flag_refs flags;
};

// Makes state the one that DLL_Options and the flag exports use; null
// unbinds (the exports then do nothing and report every flag clear). The
// state must outlive the binding.
void bind_engine_options(const engine_option_state* state);
const engine_option_state* bound_engine_options();

// At load. excluded_folders := the built-ins, then the folder entries of
// "preset.ini"; excluded_files := its file and type entries in line order;
// the options dialog's three texts := its sections. Without the file: the
// built-ins alone and empty texts.
void read_presets(const std::string& application_folder);

// At load. Reads "Setting" into the flags and, when it opened, copies the
// first three into the options dialog's check values. Returns whether it
// opened; the caller then copies companion_run into the advanced dialog.
bool read_option_flags(const std::string& application_folder, const option_flag_refs& flags);

// At unload, after the cell maps. Writes the flags into an existing
// "Setting"; a missing file is skipped (false) and never created.
bool write_option_flags(const std::string& application_folder, const option_flag_refs& flags);

// The options command: shows the dialog modally and applies it when it ends
// with OK. Cancel changes nothing (the dialog restores its own values).
void show_options_dialog(const engine_option_state& state);

// Applies a confirmed dialog: rewrites "preset.ini" and rebuilds the lists
// from the three texts, adds or removes the "Tessarel" Run value when the
// start-up check changed, and takes over the three flags.
void apply_options(const Filter& dialog, const engine_option_state& state);

}  // namespace dravik
