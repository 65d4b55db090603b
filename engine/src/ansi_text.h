#pragma once
// Comparisons of the engine's ANSI texts (code page of the system, double-byte
// in Chinese).

namespace dravik {

// Whole-text equality ignoring the case of ASCII letters. The second byte of a
// double-byte character is compared exactly: it may fall in the ASCII letter
// range, and folding it would make two different characters equal.
bool ansi_equal_ignore_case(const char* a, const char* b) noexcept;

}  // namespace dravik
