#include "names.h"

#include <vector>

namespace dravik::sim {

namespace {

unsigned char fold_ascii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// One character of a name: a single byte or a lead/trail pair.
struct character {
  unsigned value;  // folded; a pair is (lead << 8) | trail, above every single byte
  size_t length;
};

character character_at(std::string_view text, size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (is_lead_byte(c) && at + 1 < text.size()) {
    return {(unsigned{c} << 8) | static_cast<unsigned char>(text[at + 1]), 2};
  }
  return {fold_ascii(c), 1};
}

}  // namespace

int compare_names(std::string_view a, std::string_view b) {
  // Byte-wise on folded bytes. Both sides stay in step: while the bytes so
  // far compared equal, a lead byte on one side is the same lead byte on the
  // other, so the two trail positions coincide.
  bool trail = false;
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (trail) {
      trail = false;
    } else {
      trail = is_lead_byte(x);
      x = fold_ascii(x);
      y = fold_ascii(y);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

size_t character_count(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += character_at(text, at).length) ++count;
  return count;
}

bool has_wildcards(std::string_view pattern) {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool matches_pattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*" || pattern == "*.*") return true;
  // Classic backtracking over characters: remember the last '*' and the name
  // position it was tried at.
  size_t n = 0, p = 0;
  size_t star_p = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star_p = p++;
      star_n = n;
      continue;
    }
    const character nc = character_at(name, n);
    if (p < pattern.size()) {
      const character pc = character_at(pattern, p);
      if (pattern[p] == '?' || pc.value == nc.value) {
        p += pc.length;
        n += nc.length;
        continue;
      }
    }
    if (star_p == std::string_view::npos) return false;
    p = star_p + 1;
    star_n += character_at(name, star_n).length;
    n = star_n;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool is_valid_name(std::string_view name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (size_t at = 0; at < name.size();) {
    const auto c = static_cast<unsigned char>(name[at]);
    if (is_lead_byte(c) && at + 1 < name.size()) {
      at += 2;
      continue;
    }
    if (c < 0x20 ||
        std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
    ++at;
  }
  return true;
}

}  // namespace dravik::sim
