#include "window/command_line_job.h"

namespace tessarel {
namespace {

wchar_t ascii_upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

bool is_ascii_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool is_fixed(wchar_t c, const std::vector<wchar_t>& fixed_drives) {
  for (const wchar_t drive : fixed_drives)
    if (ascii_upper(drive) == ascii_upper(c)) return true;
  return false;
}

}  // namespace

// A run of letters counts only when every one of them names a fixed drive:
// a word such as "help" is not a list of drives, even on a machine with E:.
std::wstring command_line_job_letters(const std::wstring& text,
                                      const std::vector<wchar_t>& fixed_drives) {
  std::wstring letters;
  size_t at = 0;
  while (at < text.size()) {
    if (!is_ascii_letter(text[at])) {
      ++at;
      continue;
    }
    size_t end = at;
    while (end < text.size() && is_ascii_letter(text[end])) ++end;
    bool all_drives = true;
    for (size_t i = at; i < end; ++i) all_drives = all_drives && is_fixed(text[i], fixed_drives);
    for (size_t i = at; all_drives && i < end; ++i) {
      const wchar_t drive = ascii_upper(text[i]);
      if (letters.find(drive) == std::wstring::npos) letters += drive;
    }
    at = end;
  }
  return letters;
}

}  // namespace tessarel
