#include "regscan/path_checks.h"

namespace regscan {

namespace {

bool is_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "X:\" at the start: a path of a drive. "X:name" is relative to that
// drive's current folder, which this process does not share with the
// program that registered it, so it is not judged.
bool is_drive_path(const std::wstring& text) {
  return text.size() >= 3 && is_letter(text[0]) && text[1] == L':' && is_separator(text[2]);
}

// An unquoted command line: the program may be followed by arguments, and
// its own path may hold blanks, so every cut just before a blank is tried.
path_verdict judge_unquoted(const std::wstring& text) {
  if (file_exists(text)) return path_exists;
  for (std::size_t blank = text.find(L' '); blank != std::wstring::npos;
       blank = text.find(L' ', blank + 1)) {
    if (blank > 2 && file_exists(text.substr(0, blank))) return path_exists;
  }
  return path_missing;
}

}  // namespace

path_verdict check_path_text(const std::wstring& text) {
  if (text.size() < 3) return path_unjudged;
  // Shares, devices and pipes: never looked at.
  if (text[0] == L'\\' && text[1] == L'\\') return path_unjudged;
  if (text[0] == L'"') {
    // The program ends at the quote that closes the first; a quoted
    // argument may follow.
    const std::size_t close = text.find(L'"', 1);
    const std::wstring path =
        text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    if (!is_drive_path(path)) return path_unjudged;
    return file_exists(path) ? path_exists : path_missing;
  }
  if (!is_drive_path(text)) return path_unjudged;
  return judge_unquoted(text);
}

}  // namespace regscan
