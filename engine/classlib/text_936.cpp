#include "classlib/text_936.h"

#include <windows.h>

#include <vector>

std::wstring wide_from_936(const std::string& text) {
  const int size = MultiByteToWideChar(936, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return L"";
  std::vector<wchar_t> buffer(static_cast<size_t>(size));
  if (MultiByteToWideChar(936, 0, text.c_str(), -1, buffer.data(), size) <= 0) return L"";
  return std::wstring(buffer.data());
}

std::string narrow_936(const std::wstring& text) {
  const int size = WideCharToMultiByte(936, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return "";
  std::vector<char> buffer(static_cast<size_t>(size));
  if (WideCharToMultiByte(936, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr) <= 0)
    return "";
  return std::string(buffer.data());
}
