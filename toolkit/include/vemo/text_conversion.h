#pragma once
// Conversion between the program's UTF-16 strings and the narrow strings of
// the ANSI code page (the settings file and everything the engine takes).

#include <string>

namespace vemo {

// UTF-16 to the ANSI code page. Reads up to the first NUL; a character the
// code page lacks becomes its default character. A failed conversion gives "".
std::string narrow_text(const std::wstring& text);

// ANSI code page to UTF-16. Reads up to the first NUL; a failure gives L"".
std::wstring wide_text(const std::string& text);

// The same conversion as wide_text, with the output as its first parameter.
void assign_wide_text(std::wstring& out, const std::string& text);

}  // namespace vemo
