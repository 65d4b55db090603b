#pragma once
// The name under which ANSI file calls reach a path. The engine names its
// files in the ANSI code page; a path with a character that code page lacks
// (C:\Łukasz under code page 936) would reach it as "C:\?ukasz", a folder
// that does not exist. The program asks the same question before it loads
// the engine, so both answer alike.

#include <windows.h>

#include <optional>
#include <string>

namespace tessarel {

// The text in the ANSI code page when every character has its own there: no
// best-fit letter (Ł for L) and no default character. Nothing otherwise.
inline std::optional<std::string> exact_ansi_text(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  if (GetACP() == CP_UTF8) {
    // Every character has its bytes there (and the call takes no flags).
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size <= 0 || WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size,
                                         nullptr, nullptr) != size) {
      return std::nullopt;
    }
    return bytes;
  }
  BOOL used_default = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                       0, nullptr, &used_default);
  if (size <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  used_default = FALSE;
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size,
                          nullptr, &used_default) != size ||
      used_default) {
    return std::nullopt;
  }
  return bytes;
}

// GetShortPathNameW of an existing path; empty when it fails. Where the
// volume keeps no short names it gives the long name back.
using short_path_function = std::wstring (*)(const std::wstring& path);

inline std::wstring system_short_path(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortened(needed, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortened.data(), needed);
  if (length == 0 || length >= needed) return {};
  shortened.resize(length);
  return shortened;
}

// The path in the ANSI code page: as it is where it converts exactly, else
// its short form where that converts exactly. Nothing when neither does.
inline std::optional<std::string> ansi_path(const std::wstring& path,
                                            short_path_function short_path = &system_short_path) {
  if (std::optional<std::string> exact = exact_ansi_text(path)) return exact;
  const std::wstring shortened = short_path(path);
  if (shortened.empty()) return std::nullopt;
  return exact_ansi_text(shortened);
}

}  // namespace tessarel
