#include "win32_path.h"

#include <cstring>
#include <string>

#include "names.h"

namespace dravik::sim {

namespace {

bool is_separator(char c, bool raw) { return c == '\\' || (!raw && c == '/'); }

bool is_drive_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char upper_letter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Trailing dots and spaces are dropped from a component, as Win32 does before
// the name reaches the file system ("name." opens "name"). Neither byte can
// be a trail byte (both are below 0x40).
std::string_view strip_trailing(std::string_view component) {
  while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
    component.remove_suffix(1);
  }
  return component;
}

bool is_valid_pattern(std::string_view part) {
  // '*' and '?' are below 0x40, so they never sit inside a double-byte character.
  std::string probe(part);
  for (char& c : probe) {
    if (c == '*' || c == '?') c = 'x';
  }
  return is_valid_name(probe);
}

DWORD add_component(std::string_view part, bool last, bool raw, bool allow_wildcards,
                    win32_path& path) {
  if (!raw) {
    if (part.empty() || part == ".") return 0;
    if (part == "..") {
      if (!path.components.empty()) path.components.pop_back();
      return 0;
    }
    part = strip_trailing(part);
    if (part.empty()) return 0;
  } else if (part.empty()) {
    return last ? 0 : ERROR_INVALID_NAME;
  }
  const bool valid =
      allow_wildcards && last && has_wildcards(part) ? is_valid_pattern(part) : is_valid_name(part);
  if (!valid) return ERROR_INVALID_NAME;
  path.components.push_back(part);
  return 0;
}

}  // namespace

DWORD parse_win32_path(const char* text, bool allow_wildcards, win32_path& path) {
  path.letter = 0;
  path.volume = false;
  path.trailing_separator = false;
  path.components.clear();
  if (text == nullptr || *text == '\0') return ERROR_PATH_NOT_FOUND;
  std::string_view rest(text, std::strlen(text));
  if (character_count(rest) >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;

  bool raw = false;
  if (rest.size() >= 4 && rest[0] == '\\' && rest[1] == '\\' &&
      (rest[2] == '.' || rest[2] == '?') && rest[3] == '\\') {
    raw = rest[2] == '?';
    rest.remove_prefix(4);
    if (rest.size() == 2 && is_drive_letter(rest[0]) && rest[1] == ':') {
      path.letter = upper_letter(rest[0]);
      path.volume = true;
      return 0;
    }
  }
  if (rest.size() < 3 || !is_drive_letter(rest[0]) || rest[1] != ':' ||
      !is_separator(rest[2], raw)) {
    return ERROR_PATH_NOT_FOUND;
  }
  path.letter = upper_letter(rest[0]);
  rest.remove_prefix(3);

  // Split on separators, stepping over double-byte characters whole.
  size_t start = 0;
  for (size_t at = 0; at <= rest.size();) {
    if (at < rest.size() && !is_separator(rest[at], raw)) {
      at += is_lead_byte(static_cast<unsigned char>(rest[at])) && at + 1 < rest.size() ? 2 : 1;
      continue;
    }
    const bool last = at == rest.size();
    if (!last && at + 1 == rest.size()) path.trailing_separator = true;
    const DWORD error =
        add_component(rest.substr(start, at - start), last, raw, allow_wildcards, path);
    if (error) return error;
    start = ++at;
  }
  return 0;
}

}  // namespace dravik::sim
