#pragma once
// The engine's options: exclusion lists and dialog texts from "preset.ini",
// option flags in "Setting", and the options dialog that edits them.
// Everything here runs on the user interface thread while no job runs.

#include "state/option_values.h"

#include <string>

namespace dravik {

class Filter;

// The parts of the engine's state that the options dialog and the flag
// exports work on.
struct engine_option_state {
  const std::string& application_folder;    // with its trailing backslash
  const std::string& host_executable_path;  // data of the start-up Run value
  option_values& values;
};

// At load. values.excluded_folders := the built-ins, then the folder entries
// of "preset.ini"; values.excluded_files := its file and type entries in line
// order; the dialog's three texts := its sections. Without the file: the
// built-ins alone and empty texts.
void read_presets(const std::string& application_folder, option_values& values, Filter& dialog);

// At load. Reads "Setting" into the flags and, when it opened, copies the
// first three into the dialog's check values. Returns whether it opened; the
// caller then copies companion_run_flag into the advanced dialog.
bool read_option_flags(const std::string& application_folder, option_values& values,
                       Filter& dialog);

// At unload, after the cell maps. Writes the flags into an existing
// "Setting"; a missing file is skipped (false) and never created.
bool write_option_flags(const std::string& application_folder, const option_values& values);

// The options command: shows the dialog modally and applies it when it ends
// with OK. Cancel changes nothing (the dialog restores its own values).
void show_options_dialog(Filter& dialog, const engine_option_state& state);

// Applies a confirmed dialog: rewrites "preset.ini" and rebuilds the lists
// from the three texts, adds or removes the "Tessarel" Run value when the
// start-up check changed, and takes over the three flags.
void apply_options(const Filter& dialog, const engine_option_state& state);

}  // namespace dravik
