#include "vemo/text_conversion.h"

#include <windows.h>

#include <new>
#include <vector>

namespace vemo {

// Both conversions pass length -1, so the input is read up to its first NUL
// and the size the first call reports includes the terminator. The narrow
// buffer is sized by that first call: a fixed "two bytes per character" is
// too small under a UTF-8 ANSI code page.

std::string narrow_text(const std::wstring& text) {
  try {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr) <= 0)
      return {};
    return std::string(buffer.data());
  } catch (const std::bad_alloc&) {
    return {};
  }
}

std::wstring wide_text(const std::string& text) {
  try {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(size));
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), size) <= 0) return {};
    return std::wstring(buffer.data());
  } catch (const std::bad_alloc&) {
    return {};
  }
}

void assign_wide_text(std::wstring& out, const std::string& text) { out = wide_text(text); }

}  // namespace vemo
