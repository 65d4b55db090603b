#pragma once
// What a checker reports for one examined registry item. Built on the
// checker's stack and handed by pointer to the found-item hook, which copies
// what it keeps; valid only during that call.

#include <cstdint>
#include <string>

namespace regscan {

enum item_status : std::int32_t {
  item_fine = 1,
  item_problem = 2,
};

struct found_item {
  std::int32_t status = item_fine;  // item_fine or item_problem
  std::wstring problem;             // "Normal", or the category's problem text
  std::wstring key_path;            // root key name, a backslash, the path below it
  std::wstring value_name;          // empty for key items
  std::wstring data;                // the text that was judged
};

}  // namespace regscan
