// The deleters take only the shape of item their own category reports. An
// empty, cut or foreign path given to SHDeleteKeyW would empty a whole tree
// (HKEY_CURRENT_USER\Software, App Paths, HKEY_CLASSES_ROOT\CLSID).
#include <gtest/gtest.h>

#include "category_corpus.h"
#include "regscan/category_deleters.h"
#include "regscan/category_texts.h"
#include "regscan/registry_categories.h"

namespace regscan::testing {
namespace {

const std::wstring lm = L"HKEY_LOCAL_MACHINE\\";
const std::wstring cu = L"HKEY_CURRENT_USER\\";
const std::wstring cr = L"HKEY_CLASSES_ROOT\\";
const std::wstring app = lm + app_paths_key;
const std::wstring menu = cu + menu_order_key;
const std::wstring gone_class = L"{7E55A2E1-0000-0000-0000-000000000006}";
const std::wstring zero(1, L'\0');

struct guard_case {
  const char* name;
  std::uint32_t category;
  std::wstring key_path;
  std::wstring value_name;
};

const guard_case guard_cases[] = {
    {"AppPathsEmpty", 0, L"", L""},
    {"AppPathsRootOnly", 0, lm, L""},
    {"AppPathsBase", 0, app, L""},
    {"AppPathsBaseBackslash", 0, app + L"\\", L""},
    {"AppPathsTrailingBackslash", 0, app + L"\\gone.exe\\", L""},
    {"AppPathsTwoLevels", 0, app + L"\\gone.exe\\sub", L""},
    {"AppPathsCut", 0, lm + L"Software", L""},
    {"AppPathsOtherRoot", 0, cu + app_paths_key + L"\\gone.exe", L""},
    {"AppPathsOutOfBase", 0, app + L" Canary\\x.exe", L""},
    {"AppPathsZeroInName", 0, app + L"\\" + zero + L"gone.exe", L""},
    {"AppPathsWithValueName", 0, app + L"\\gone.exe", L"Path"},
    {"HelpOtherKeyWithHtml", 1, lm + L"Software\\Microsoft\\Windows\\Html", L"kept.hlp"},
    {"HelpEmptyKey", 1, L"", L"gone.hlp"},
    {"HelpOtherRoot", 1, cu + help_key, L"canary.hlp"},
    {"HelpKeyBackslash", 1, lm + help_key + L"\\", L"gone.hlp"},
    {"HelpZeroInName", 1, lm + help_key, L"gone.hlp" + zero + L"x"},
    {"RunOtherKey", 2, cu + L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", L"canary"},
    {"RunOtherRoot", 2, lm + run_key, L"gone"},
    {"RunSubkey", 2, cu + run_key + L"\\Sub", L"canary"},
    {"RunEmptyKey", 2, L"", L"gone"},
    {"RunZeroInName", 2, cu + run_key, L"gone" + zero},
    {"MenuBase", 3, menu, L""},
    {"MenuBaseBackslash", 3, menu + L"\\", L""},
    {"MenuSiblingBase", 3, cu + L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                L"MenuOrder\\Start Menu2\\Other\\Gone", L""},
    {"MenuGivenASoftwareKey", 3, cu + L"Software\\Empty Vendor", L""},
    {"SharedDllsOtherKey", 5, lm + L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDllsX",
     L"C:\\tessarel_missing\\canary.dll"},
    {"SharedDllsEmptyKey", 5, L"", L""},
    {"ClassesBase", 6, cr + L"CLSID", L""},
    {"ClassesBaseBackslash", 6, cr + L"CLSID\\", L""},
    {"ClassesOutOfBase", 6, cr + L"CLSIDX\\{00000000-0000-0000-0000-00000000CA7A}", L""},
    {"ClassesOtherRoot", 6, lm + L"CLSID\\" + gone_class, L""},
    {"ClassesServerSubkey", 6, cr + L"CLSID\\" + gone_class + L"\\InprocServer32", L""},
    {"SoftwareBase", 7, cu + L"Software", L""},
    {"SoftwareBaseBackslash", 7, cu + L"Software\\", L""},
    {"SoftwareTrailingBackslash", 7, cu + L"Software\\Empty Vendor\\", L""},
    {"SoftwareOtherRoot", 7, lm + L"Software\\Empty Vendor", L""},
    {"SoftwareKeyInUse", 7, cu + L"Software\\Kept Vendor", L""},
    {"SoftwareGivenAMenuKey", 7, menu + L"\\Gone Folder", L""},
    {"NoCategoryFour", 4, cu + L"Software\\Empty Vendor", L""},
};

class DeleterGuard : public CategoryCorpus, public ::testing::WithParamInterface<guard_case> {};

TEST_P(DeleterGuard, RefusesAndChangesNothing) {
  build();
  const std::set<std::wstring> before = snapshot();
  const category_table table = registry_categories();
  const issue_deleter deleter = table[GetParam().category].deleter;
  dravik::registry_issue issue;
  issue.key_path = GetParam().key_path;
  issue.value_name = GetParam().value_name;
  issue.data = issue.value_name;
  const int result = deleter ? deleter(issue, hive_machine_classes) : -1;
  EXPECT_NE(result, item_deleted);
  EXPECT_EQ(snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleterGuard, ::testing::ValuesIn(guard_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using SoftwareKeyDeleter = CategoryCorpus;

// Catches a software key deleted after it came into use between the scan and
// the clean: a value, a default value or a subkey keeps it.
TEST_F(SoftwareKeyDeleter, ChecksTheKeyAgainFirst) {
  build();
  const std::wstring path = cu + L"Software\\Empty Vendor";
  make_key(HKEY_CURRENT_USER, L"Software\\Empty Vendor\\Child");
  const std::wstring name = L"Empty Vendor";
  EXPECT_EQ(delete_hkcu_key(path, name), item_now_fine);
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Empty Vendor\\Child"), ERROR_SUCCESS);
  set_text(HKEY_CURRENT_USER, L"Software\\Empty Vendor", L"", L"");
  EXPECT_EQ(delete_hkcu_key(path, name), item_now_fine) << "an empty default value still keeps it";
  ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Empty Vendor", nullptr),
            ERROR_SUCCESS);
  EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, L"Software\\Empty Vendor"));
  EXPECT_EQ(delete_hkcu_key(path, name), item_deleted);
  EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, L"Software\\Empty Vendor"));
  EXPECT_EQ(delete_hkcu_key(path, name), item_kept) << "already gone";
}

// The help deleter picks its key by the exact key path, not by "Html" in it:
// the same value name in the other key stays.
TEST_F(SoftwareKeyDeleter, HelpValueLeavesTheOtherKeysValue) {
  build();
  EXPECT_EQ(delete_help_value(lm + html_help_key, L"kept.hlp", path(L"missing\\kept.hlp")),
            item_deleted);
  EXPECT_FALSE(value_exists(HKEY_LOCAL_MACHINE, html_help_key, L"kept.hlp"));
  EXPECT_TRUE(value_exists(HKEY_LOCAL_MACHINE, help_key, L"kept.hlp"));
}

}  // namespace
}  // namespace regscan::testing
