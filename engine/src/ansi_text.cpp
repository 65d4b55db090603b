#include "ansi_text.h"

#include <windows.h>

namespace dravik {

namespace {

unsigned char fold(unsigned char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool ansi_equal_ignore_case(const char* a, const char* b) noexcept {
  auto p = reinterpret_cast<const unsigned char*>(a);
  auto q = reinterpret_cast<const unsigned char*>(b);
  for (;;) {
    const unsigned char c = *p;
    if (fold(c) != fold(*q)) return false;
    if (c == '\0') return true;
    ++p;
    ++q;
    if (IsDBCSLeadByte(c)) {
      // Both texts have the same lead byte here; the trail byte must match.
      if (*p != *q) return false;
      if (*p == '\0') return true;
      ++p;
      ++q;
    }
  }
}

}  // namespace dravik
