#pragma once
// The engine's narrow texts are code page 936 bytes whatever the system code
// page is; windows show them through the wide API after these conversions.

#include <string>

// Code page 936 bytes to UTF-16; up to the first NUL. A failure gives L"".
std::wstring wide_from_936(const std::string& text);

// UTF-16 to code page 936 bytes; up to the first NUL. A failure gives "".
std::string narrow_936(const std::wstring& text);
