#include "regscan/category_deleters.h"

#include <shlwapi.h>

#include "regscan/category_texts.h"
#include "regscan/item_checks.h"
#include "tessarel/unique_handle.h"

namespace regscan {

namespace {

constexpr const wchar_t* hklm_name = L"HKEY_LOCAL_MACHINE";
constexpr const wchar_t* hkcu_name = L"HKEY_CURRENT_USER";
constexpr const wchar_t* hkcr_name = L"HKEY_CLASSES_ROOT";

// A name that a registry call takes whole: no zero character would cut it
// short and make the call reach another value or the key above.
bool whole_name(const std::wstring& name) { return name.find(L'\0') == std::wstring::npos; }

// Between the scan and the clean lie the later phases and the clean of
// every cell before this one: time enough for an installer or the user to
// repair the item. Item_deleted here means "go ahead".
int judge_again(const judgement& now, const std::wstring& data) {
  if (!now.present) return item_kept;
  if (!now.problem) return item_now_fine;
  // Still a problem, but not the one judged: nothing the user was shown.
  if (now.data != data) return item_kept;
  return item_deleted;
}

// SHDeleteKeyW of base\name below root: the key with all below it.
int delete_tree(HKEY root, const wchar_t* base, const std::wstring& name) {
  const std::wstring path = std::wstring(base) + L"\\" + name;
  return SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS ? item_deleted : item_kept;
}

int delete_value(HKEY root, const wchar_t* key_path, const std::wstring& value_name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key_path, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return item_kept;
  const tessarel::unique_registry_key key(opened);
  return RegDeleteValueW(key.get(), value_name.c_str()) == ERROR_SUCCESS ? item_deleted
                                                                         : item_kept;
}

// A value judged again from what it holds now; judge is the category's
// value check.
template <class Judge>
int delete_judged_value(HKEY root, const wchar_t* key_path, const std::wstring& value_name,
                        const std::wstring& data, Judge judge) {
  if (!whole_name(value_name)) return item_kept;
  DWORD type = REG_NONE;
  std::wstring text;
  if (!read_value_now(root, key_path, value_name, type, text)) return item_kept;
  const int verdict = judge_again(judge(type, text), data);
  if (verdict != item_deleted) return verdict;
  return delete_value(root, key_path, value_name);
}

// An empty software key, deleted with RegDeleteKeyW, which refuses a key
// that gained a subkey after it was judged.
int delete_empty_software_key(const std::wstring& name, const std::wstring& data) {
  if (name.empty()) return item_kept;
  const int verdict = judge_again(judge_software_key(name), data);
  if (verdict != item_deleted) return verdict;
  const std::wstring path = std::wstring(software_key) + L"\\" + name;
  return RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS ? item_deleted
                                                                         : item_kept;
}

}  // namespace

std::wstring subkey_of(const std::wstring& key_path, const wchar_t* root_name,
                       const wchar_t* base) {
  const std::wstring prefix = std::wstring(root_name) + L"\\" + base + L"\\";
  if (key_path.size() <= prefix.size() || key_path.compare(0, prefix.size(), prefix) != 0)
    return {};
  std::wstring name = key_path.substr(prefix.size());
  if (name.find(L'\\') != std::wstring::npos || !whole_name(name)) return {};
  return name;
}

int delete_hklm_key(const std::wstring& key_path, const std::wstring& data) {
  const std::wstring name = subkey_of(key_path, hklm_name, app_paths_key);
  if (name.empty()) return item_kept;
  const int verdict = judge_again(judge_app_path(name), data);
  if (verdict != item_deleted) return verdict;
  return delete_tree(HKEY_LOCAL_MACHINE, app_paths_key, name);
}

int delete_help_value(const std::wstring& key_path, const std::wstring& value_name,
                      const std::wstring& data) {
  const std::wstring root = std::wstring(hklm_name) + L"\\";
  const wchar_t* key = key_path == root + help_key        ? help_key
                       : key_path == root + html_help_key ? html_help_key
                                                          : nullptr;
  if (key == nullptr) return item_kept;
  return delete_judged_value(HKEY_LOCAL_MACHINE, key, value_name, data,
                             [&](DWORD type, const std::wstring& text) {
                               return judge_help_value(type, text, value_name);
                             });
}

int delete_run_value(const std::wstring& value_name, const std::wstring& data) {
  return delete_judged_value(HKEY_CURRENT_USER, run_key, value_name, data, &judge_run_value);
}

int delete_hkcu_key(const std::wstring& key_path, const std::wstring& data) {
  const std::wstring menu_entry = subkey_of(key_path, hkcu_name, menu_order_key);
  if (!menu_entry.empty()) {
    const int verdict = judge_again(judge_menu_order(menu_entry), data);
    if (verdict != item_deleted) return verdict;
    return delete_tree(HKEY_CURRENT_USER, menu_order_key, menu_entry);
  }
  return delete_empty_software_key(subkey_of(key_path, hkcu_name, software_key), data);
}

int delete_shared_dll_value(const std::wstring& value_name, const std::wstring& data) {
  return delete_judged_value(HKEY_LOCAL_MACHINE, shared_dlls_key, value_name, data,
                             [&](DWORD, const std::wstring&) {
                               return judge_shared_dll(value_name);
                             });
}

int delete_hkcr_key(const std::wstring& key_path, const std::wstring& data, item_hive hive) {
  if (hive != hive_machine_classes && hive != hive_user_classes) return item_kept;
  const std::wstring id = subkey_of(key_path, hkcr_name, clsid_key);
  if (id.empty()) return item_kept;
  const int verdict = judge_again(judge_class(hive, id), data);
  if (verdict != item_deleted) return verdict;
  const HKEY root = hive == hive_user_classes ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  return delete_tree(root, classes_clsid_key, id);
}

}  // namespace regscan
