#include "text/ansi_text.h"

#include <windows.h>

#include <cstddef>
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

bool ansi_contains_ignoring_case(const char* text, std::size_t length, const char* part) {
  const std::size_t part_length = std::strlen(part);
  const char* const end = text + length;
  for (const char* at = text; end - at >= static_cast<std::ptrdiff_t>(part_length);
       at += ansi_char_length(at)) {
    std::size_t i = 0;
    while (i < part_length && ascii_lower(at[i]) == part[i]) ++i;
    if (i == part_length) return true;
  }
  return false;
}

void ansi_fold_case(const char* text, std::size_t length, char* out) {
  std::size_t i = 0;
  while (i < length) {
    if (i + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
      out[i] = text[i];
      out[i + 1] = text[i + 1];
      i += 2;
    } else {
      out[i] = ascii_lower(text[i]);
      ++i;
    }
  }
}

}  // namespace dravik
