#include "ansi_text.h"

#include <windows.h>

#include <cstring>

namespace dravik {

std::size_t ansi_char_length(const char* text) {
  if (text[0] != '\0' && IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != '\0') return 2;
  return 1;
}

std::size_t find_ansi_char(const std::string& text, char c) {
  for (std::size_t i = 0; i < text.size(); i += ansi_char_length(text.c_str() + i))
    if (text[i] == c) return i;
  return std::string::npos;
}

namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool ansi_equal_ignoring_case(const char* a, const char* b) {
  for (;;) {
    if (*a == '\0' || *b == '\0') return *a == *b;
    const std::size_t length = ansi_char_length(a);
    if (length == 2) {
      // A double-byte character is compared as it is: its second byte is no
      // letter, whatever its value.
      if (a[0] != b[0] || a[1] != b[1]) return false;
    } else if (ascii_lower(*a) != ascii_lower(*b)) {
      return false;
    }
    a += length;
    b += length;
  }
}

bool ansi_contains(const char* text, const char* part) {
  const std::size_t part_length = std::strlen(part);
  for (;;) {
    if (std::strncmp(text, part, part_length) == 0) return true;
    if (*text == '\0') return false;
    text += ansi_char_length(text);
  }
}

}  // namespace dravik
