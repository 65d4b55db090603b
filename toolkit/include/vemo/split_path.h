#pragma once

#include <string>
#include <vector>

namespace vemo {

// Appends text broken at backslashes into display lines of at most 50
// characters. Every line but the last ends with the backslash it was broken
// at; a component longer than 50 characters stands alone, unbroken. The text
// ends at its first empty component (a leading, doubled or trailing
// backslash), so an empty text appends nothing. Any thread; lines is the
// caller's.
void split_path(const std::wstring& text, std::vector<std::wstring>& lines);

}  // namespace vemo
