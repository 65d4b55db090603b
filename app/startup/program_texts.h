#pragma once
// Texts of the program that several of its parts show.

namespace tessarel {

// The first row of the volume check list.
inline constexpr wchar_t registry_row_name[] = L"Registry";

}  // namespace tessarel
