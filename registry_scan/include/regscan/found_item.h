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

// Where an item lives. Class registrations are judged in the hive that holds
// them, while their key path names the merged HKEY_CLASSES_ROOT view the
// user knows; every other item lives under the root its key path names.
enum item_hive : std::uint8_t {
  hive_as_named = 0,
  hive_machine_classes = 1,  // HKEY_LOCAL_MACHINE\Software\Classes
  hive_user_classes = 2,     // HKEY_CURRENT_USER\Software\Classes
};

struct found_item {
  std::int32_t status = item_fine;  // item_fine or item_problem
  std::wstring problem;             // "Normal", or the category's problem text
  std::wstring key_path;            // root key name, a backslash, the path below it
  std::wstring value_name;          // empty for key items
  std::wstring data;                // the text that was judged
  item_hive hive = hive_as_named;   // not shown; tells the deleter where to look
};

}  // namespace regscan
