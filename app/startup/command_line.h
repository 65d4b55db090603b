#pragma once

#include <string>

namespace tessarel {

// Keeps the program's command line with every blank (U+0020) removed; tabs
// and every other character stay, in order, case unchanged. Null keeps an
// empty text. Called once at start-up; user interface thread.
void store_command_line(const wchar_t* text);

// What store_command_line kept; empty until then. User interface thread.
const std::wstring& command_line_letters();

}  // namespace tessarel
