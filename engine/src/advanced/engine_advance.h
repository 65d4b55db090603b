#pragma once
// The advanced options as the engine runs them: the advanced dialog over the
// engine's state, and the companion's log-on entry it decides.
// Everything here runs on the user interface thread while no job runs.

#include <functional>
#include <string>

#include <windows.h>

namespace dravik {

class Advance;

// The parts of the engine's state that the advanced dialog works on.
struct engine_advance_state {
  int& companion_run_flag;  // byte 12 of "Setting": the companion at log-on
  // A letter's total size text from the volume tables.
  std::function<std::string(char letter)> total_size_text;
};

// The Run value that starts the companion at log-on.
extern const char* const companion_run_value;

// Shows the dialog modally and applies check box 114 when it ends with OK.
// Returns the dialog's end code.
INT_PTR show_advance_dialog(Advance& dialog, const engine_advance_state& state);

// Applies a confirmed dialog: when the check differs from the flag, the flag
// takes it and the Run value "VELTOR" is written (folder + "VELTOR.exe") or
// deleted. The flag keeps its new value whatever the registry did; a
// failure has been shown to the user.
void apply_advance(const Advance& dialog, const engine_advance_state& state);

}  // namespace dravik
