#include "options/exclusion_index.h"

#include "text/ansi_text.h"

namespace dravik {

namespace {

// A name longer than any entry can only match by its extension.
constexpr std::size_t longest_entry = max_exclusion_length;

bool lookup(const std::unordered_set<std::string_view>& set, const char* text,
            std::size_t length) {
  if (set.empty() || length > longest_entry) return false;
  char folded[longest_entry];
  ansi_fold_case(text, length, folded);
  return set.count(std::string_view(folded, length)) != 0;
}

}  // namespace

void exclusion_index::add(name_set& set, const std::string& entry) {
  // An empty entry never matches anything (see exclusion_lists.cpp).
  if (entry.empty() || entry.size() > longest_entry) return;
  std::string& folded = texts_.emplace_back(entry.size(), '\0');
  ansi_fold_case(entry.data(), entry.size(), folded.data());
  set.insert(folded);
}

void exclusion_index::build(const folder_exclusions& folders, const file_exclusions& files) {
  clear();
  // The sets view into texts_, which must therefore never move.
  texts_.reserve(folders.size() + files.size());
  for (const std::string& entry : folders) add(folders_, entry);
  for (const file_exclusion& entry : files)
    add(entry.kind == file_exclusion_kind::file ? files_ : types_, entry.name);
}

void exclusion_index::clear() noexcept {
  folders_.clear();
  files_.clear();
  types_.clear();
  texts_.clear();
}

bool exclusion_index::folder_excluded(const char* name, std::size_t length) const {
  return lookup(folders_, name, length);
}

bool exclusion_index::file_excluded(const char* name, std::size_t length) const {
  if (lookup(files_, name, length)) return true;
  if (types_.empty()) return false;
  // A "." is never the second byte of a double-byte character, so the last
  // one found from the end is the last character ".".
  std::size_t dot = length;
  while (dot > 0 && name[dot - 1] != '.') --dot;
  if (dot == 0) return false;
  return lookup(types_, name + dot, length - dot);
}

}  // namespace dravik
