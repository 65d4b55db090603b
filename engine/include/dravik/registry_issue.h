#pragma once
// The registry scanner's issue records, as the program hands them to the
// engine's registry report. Both deliverables read the same objects in memory,
// so this header is the one definition of their layout; the program and the
// engine are always built by the same toolchain for the same bitness.

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace dravik {

// One examined registry item.
struct registry_issue {
  std::uint8_t fixed = 0;      // 1 fine or repaired, 0 open problem
  std::uint32_t category = 0;  // category of the scan phase that found it
  std::wstring problem;        // "Normal" or the category's problem text
  std::wstring key_path;       // root key name, a backslash, the path below it
  std::wstring value_name;     // empty for key items
  std::wstring data;           // the text that was judged
};

// The issues of one cell of the registry map, in the order they were found.
using issue_group = std::vector<registry_issue>;

// One group per cell of the registry map (2565 after a reset); index = cell.
using issue_groups = std::vector<issue_group>;

static_assert(std::is_standard_layout<registry_issue>::value,
              "registry_issue is read across the library boundary");
static_assert(offsetof(registry_issue, fixed) == 0, "fixed leads the record");
static_assert(offsetof(registry_issue, category) == 4, "category follows fixed, 32-bit aligned");
static_assert(offsetof(registry_issue, problem) == 8, "the strings follow category");
static_assert(offsetof(registry_issue, key_path) == 8 + sizeof(std::wstring), "string order");
static_assert(offsetof(registry_issue, value_name) == 8 + 2 * sizeof(std::wstring), "string order");
static_assert(offsetof(registry_issue, data) == 8 + 3 * sizeof(std::wstring), "string order");
static_assert(sizeof(registry_issue) == 8 + 4 * sizeof(std::wstring), "no trailing members");
static_assert(sizeof(issue_group) == 3 * sizeof(void*), "a vector is three pointers");
static_assert(sizeof(issue_groups) == 3 * sizeof(void*), "a vector is three pointers");

}  // namespace dravik
