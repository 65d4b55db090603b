#pragma once
// Texts of the program that several of its parts show.

namespace tessarel {

// The first row of the volume check list.
inline constexpr wchar_t registry_row_name[] = L"Registry";
// The window class of the map view, and so of the main window.
inline constexpr wchar_t main_window_class_name[] = L"__biscuit_view_class_name__";

}  // namespace tessarel
