// The Start-menu rule: a subkey is judged only against a Shell Folders value
// that names an existing folder. Judging against a missing or empty value
// would delete every Start-menu order on a system whose names differ.
#include <gtest/gtest.h>

#include "regscan/category_texts.h"
#include "regscan/item_checks.h"
#include "sandboxed_registry.h"

namespace regscan::testing {
namespace {

enum class folder_value { missing, empty, number, has_entry, lacks_entry, no_such_folder };

struct menu_case {
  const char* name;
  folder_value user, common;
  bool exists;  // start_menu_folder_exists("Entry")
};

const menu_case menu_cases[] = {
    {"NeitherValue", folder_value::missing, folder_value::missing, true},
    {"BothEmpty", folder_value::empty, folder_value::empty, true},
    {"NumbersAreNoFolders", folder_value::number, folder_value::number, true},
    {"BothNameMissingFolders", folder_value::no_such_folder, folder_value::no_such_folder, true},
    {"UserHasIt", folder_value::has_entry, folder_value::missing, true},
    {"CommonHasIt", folder_value::lacks_entry, folder_value::has_entry, true},
    {"UserLacksItCommonMissing", folder_value::lacks_entry, folder_value::missing, false},
    {"UserLacksItCommonEmpty", folder_value::lacks_entry, folder_value::empty, false},
    {"BothLackIt", folder_value::lacks_entry, folder_value::lacks_entry, false},
    {"CommonLacksItUserNoFolder", folder_value::no_such_folder, folder_value::lacks_entry, false},
};

class StartMenuRule : public SandboxedRegistry,
                      public ::testing::WithParamInterface<menu_case> {
 protected:
  void set_folder(HKEY root, const wchar_t* name, folder_value value) {
    switch (value) {
      case folder_value::missing: return;
      case folder_value::empty: return set_text(root, shell_folders_key, name, L"");
      case folder_value::number: return set_value(root, shell_folders_key, name, REG_DWORD,
                                                  {1, 0, 0, 0});
      case folder_value::has_entry:
        return set_text(root, shell_folders_key, name, path(L"with"));
      case folder_value::lacks_entry:
        return set_text(root, shell_folders_key, name, path(L"without"));
      case folder_value::no_such_folder:
        return set_text(root, shell_folders_key, name, path(L"nowhere"));
    }
  }
};

TEST_P(StartMenuRule, JudgesOnlyAgainstFoldersThatExist) {
  make_folder(L"with");
  make_folder(L"with\\Entry");
  make_folder(L"without");
  set_folder(HKEY_CURRENT_USER, user_programs_value, GetParam().user);
  set_folder(HKEY_LOCAL_MACHINE, common_programs_value, GetParam().common);
  EXPECT_EQ(start_menu_folder_exists(L"Entry"), GetParam().exists);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartMenuRule, ::testing::ValuesIn(menu_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
