#pragma once
// Names as the simulated volumes keep them: ANSI bytes in code page 936, the
// code page the engine and its tests run with. Comparison folds the case of
// ASCII letters only and never touches the trail byte of a double-byte
// character (a trail byte can look like 'a' or '\').

#include <cstddef>
#include <string_view>

namespace dravik::sim {

// A byte that starts a double-byte character in code page 936.
inline bool is_lead_byte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Case-insensitive order of two names (<0, 0, >0); the order of NTFS
// directory listings for ASCII names.
int compare_names(std::string_view a, std::string_view b);
inline bool names_equal(std::string_view a, std::string_view b) { return compare_names(a, b) == 0; }

// Characters, counting a double-byte character once.
size_t character_count(std::string_view text);

bool has_wildcards(std::string_view pattern);

// FindFirstFile matching of one name against the last component of a
// pattern: '*' any run of characters, '?' exactly one character, case
// folded as in compare_names; "*.*" matches every name.
bool matches_pattern(std::string_view name, std::string_view pattern);

// A name a directory entry may carry: 1 to 255 bytes, no control
// characters, none of \ / : * ? " < > |, not "." or "..".
bool is_valid_name(std::string_view name);

}  // namespace dravik::sim
