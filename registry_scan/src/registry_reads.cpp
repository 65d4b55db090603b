#include "regscan/registry_access.h"

#include <cstring>
#include <vector>

namespace regscan {

namespace {
// Bytes of a value read for judging, and characters of its expansion.
constexpr DWORD value_bytes = 261;
constexpr DWORD expansion_chars = 261;
}  // namespace

std::wstring text_of_bytes(const BYTE* bytes, DWORD size) {
  std::wstring text;
  if (bytes == nullptr) return text;
  const DWORD count = size / sizeof(wchar_t);
  text.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    wchar_t c;
    std::memcpy(&c, bytes + i * sizeof(wchar_t), sizeof c);
    if (c == L'\0') break;
    text.push_back(c);
  }
  return text;
}

std::wstring judged_text(DWORD type, const std::wstring& text) {
  if (type == REG_SZ) return text;
  if (type != REG_EXPAND_SZ) return {};
  wchar_t expanded[expansion_chars] = {};
  // The count includes the terminator; a result that does not fit is
  // never used, as a cut path would look like a missing file.
  const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded, expansion_chars);
  if (needed == 0 || needed > expansion_chars) return {};
  expanded[expansion_chars - 1] = L'\0';
  return expanded;
}

std::wstring literal_text(DWORD type, const std::wstring& text) {
  return type == REG_SZ || type == REG_EXPAND_SZ ? text : std::wstring();
}

std::wstring read_value_text(HKEY key, const wchar_t* name) {
  BYTE data[value_bytes] = {};
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return {};
  return judged_text(type, text_of_bytes(data, size < sizeof data ? size : sizeof data));
}

}  // namespace regscan
