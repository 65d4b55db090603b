#pragma once
// The exclusion lists as the analysis walk asks them: one hash lookup per
// directory or file name, however many entries the user keeps.
//
// Built from the ordered lists when a volume's walk begins; it answers
// exactly as folder_name_excluded and file_name_excluded do over the lists it
// was built from (the order of the lists only decides which entry matches
// first, never whether one does). Owned and used by one worker thread.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "options/exclusion_lists.h"

namespace dravik {

class exclusion_index {
 public:
  exclusion_index() = default;
  exclusion_index(const exclusion_index&) = delete;
  exclusion_index& operator=(const exclusion_index&) = delete;

  // Replaces the index by one of these lists.
  void build(const folder_exclusions& folders, const file_exclusions& files);
  void clear() noexcept;

  // folder_name_excluded: the whole name equals a folder entry, ignoring case.
  bool folder_excluded(const char* name, std::size_t length) const;

  // file_name_excluded: the whole name equals a file entry, or the text after
  // its last "." equals a type entry, ignoring case.
  bool file_excluded(const char* name, std::size_t length) const;

 private:
  using name_set = std::unordered_set<std::string_view>;

  void add(name_set& set, const std::string& entry);

  // The folded entries; the sets view into them.
  std::vector<std::string> texts_;
  name_set folders_;
  name_set files_;
  name_set types_;
};

}  // namespace dravik
