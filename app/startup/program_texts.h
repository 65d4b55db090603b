#pragma once
// Texts of the program that several of its parts show.

namespace tessarel {

// The first row of the volume check list.
inline constexpr wchar_t registry_row_name[] = L"Registry";
// The window class of the map view, and so of the main window.
inline constexpr wchar_t main_window_class_name[] = L"__biscuit_view_class_name__";

// The product's home page, opened by the about box's first link.
inline constexpr wchar_t home_page_url[] = L"https://tessarel.example/";
// The support address, opened by the about box's second link.
inline constexpr wchar_t support_mail_url[] = L"mailto:support@tessarel.example";

}  // namespace tessarel
