#include "regscan/path_checks.h"

namespace regscan {

namespace {

bool is_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }
// What ends a program's name in a command line, as the system reads it.
bool is_blank(wchar_t c) { return c == L' ' || c == L'\t'; }

// "X:\" at the start: a path of a drive. "X:name" is relative to that
// drive's current folder, which this process does not share with the
// program that registered it, so it is not judged.
bool is_drive_path(const std::wstring& text) {
  return text.size() >= 3 && is_letter(text[0]) && text[1] == L':' && is_separator(text[2]);
}

bool has_extension(const std::wstring& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (path[i - 1] == L'.') return true;
    if (is_separator(path[i - 1])) return false;
  }
  return false;
}

// Present when either is; absent only when both are.
path_presence either(path_presence a, path_presence b) {
  if (a == path_presence::present || b == path_presence::present) return path_presence::present;
  if (a == path_presence::unknown || b == path_presence::unknown) return path_presence::unknown;
  return path_presence::absent;
}

// One possible path of the program; a name without an extension is also
// tried with the category's default one.
path_presence look_up_program(const std::wstring& path, const path_rules& rules,
                              path_kind wanted) {
  const path_presence as_named = look_up_path(path, rules.native_folders, wanted);
  if (as_named == path_presence::present || rules.default_extension == nullptr ||
      has_extension(path))
    return as_named;
  return either(as_named,
                look_up_path(path + rules.default_extension, rules.native_folders, wanted));
}

path_verdict verdict_of(path_presence presence) {
  switch (presence) {
    case path_presence::present: return path_exists;
    case path_presence::absent: return path_missing;
    case path_presence::unknown: break;
  }
  return path_unjudged;
}

// An unquoted command line: the program may be followed by arguments, and
// its own path may hold blanks, so every cut just before a blank is a
// possible path, as the system tries them. A cut names the program only
// when it is a file (the loader starts nothing else); the whole text counts
// when it names a file or a folder. A tab ends the program for certain (no
// file name holds one), so nothing past the first tab is.
path_verdict judge_unquoted(const std::wstring& text, const path_rules& rules) {
  const std::size_t tab = text.find(L'\t');
  path_presence found = tab == std::wstring::npos
                            ? look_up_program(text, rules, path_kind::file_or_folder)
                            : path_presence::absent;
  const std::size_t end = tab == std::wstring::npos ? text.size() : tab + 1;
  for (std::size_t at = 3; at < end && found != path_presence::present; ++at) {
    if (is_blank(text[at]) && !is_blank(text[at - 1]))
      found = either(found, look_up_program(text.substr(0, at), rules, path_kind::file));
  }
  return verdict_of(found);
}

}  // namespace

path_verdict check_path_text(const std::wstring& text, const path_rules& rules) {
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
    return verdict_of(look_up_program(path, rules, path_kind::file_or_folder));
  }
  if (!is_drive_path(text)) return path_unjudged;
  return judge_unquoted(text, rules);
}

path_verdict check_whole_path(const std::wstring& path) {
  if (!is_drive_path(path)) return path_unjudged;
  return verdict_of(look_up_path(path));
}

}  // namespace regscan
