#pragma once
// Character-wise operations on ANSI texts (the system code page, as file
// names and edit texts arrive). In a double-byte code page such as 936 the
// second byte of a character may look like an ASCII letter or "]"; these
// functions never take it for one.

#include <cstddef>
#include <string>

namespace dravik {

// Bytes taken by the character that starts at text[0] (1 or 2; 1 for a lead
// byte at the end of the text).
std::size_t ansi_char_length(const char* text);

// Position of the first character c (an ASCII character) in text, or npos.
std::size_t find_ansi_char(const std::string& text, char c);

// Equal texts when ASCII letters are compared without regard to case.
bool ansi_equal_ignoring_case(const char* a, const char* b);

// true when part occurs in text starting at a character boundary, compared
// exactly. An empty part occurs everywhere.
bool ansi_contains(const char* text, const char* part);

// The same with ASCII letters compared without regard to case; part is an
// ASCII text in lower case ("system32").
bool ansi_contains_ignoring_case(const char* text, std::size_t length, const char* part);

// Copies text[0, length) to out, ASCII letters in lower case; double-byte
// characters are copied as they are. Two texts are equal ignoring case
// exactly when their folded forms are equal.
void ansi_fold_case(const char* text, std::size_t length, char* out);

}  // namespace dravik
