#include "window/command_line_job.h"

namespace tessarel {
namespace {

wchar_t ascii_upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

bool is_ascii_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring command_line_job_letters(const std::wstring& text,
                                      const std::vector<wchar_t>& fixed_drives) {
  std::wstring letters;
  for (const wchar_t c : text) {
    if (!is_ascii_letter(c)) continue;
    for (const wchar_t drive : fixed_drives) {
      if (ascii_upper(drive) != ascii_upper(c)) continue;
      if (letters.find(drive) == std::wstring::npos) letters += drive;
      break;
    }
  }
  return letters;
}

}  // namespace tessarel
