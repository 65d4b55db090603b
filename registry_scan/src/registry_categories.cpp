#include "regscan/registry_categories.h"

#include "regscan/category_checkers.h"
#include "regscan/category_deleters.h"
#include "regscan/category_texts.h"

namespace regscan {

namespace {

// Whether key_path is exactly the category's own key: a value deleter
// removes nothing reported under another key.
bool own_key(std::uint32_t category, const std::wstring& key_path) {
  const category_texts* texts = texts_of_category(category);
  return key_path == std::wstring(texts->root_name) + L"\\" + texts->key_path;
}

// Whether key_path is one subkey of the category's key; key items carry no
// value name.
bool own_subkey(std::uint32_t category, const std::wstring& key_path,
                const std::wstring& value_name) {
  const category_texts* texts = texts_of_category(category);
  return value_name.empty() && !subkey_of(key_path, texts->root_name, texts->key_path).empty();
}

int app_path_deleter(const dravik::registry_issue& issue, item_hive) {
  return own_subkey(0, issue.key_path, issue.value_name)
             ? delete_hklm_key(issue.key_path, issue.data)
             : -1;
}

int help_deleter(const dravik::registry_issue& issue, item_hive) {
  return delete_help_value(issue.key_path, issue.value_name, issue.data);
}

int run_deleter(const dravik::registry_issue& issue, item_hive) {
  return own_key(2, issue.key_path) ? delete_run_value(issue.value_name, issue.data) : -1;
}

int menu_order_deleter(const dravik::registry_issue& issue, item_hive) {
  return own_subkey(3, issue.key_path, issue.value_name)
             ? delete_hkcu_key(issue.key_path, issue.data)
             : -1;
}

int shared_dll_deleter(const dravik::registry_issue& issue, item_hive) {
  return own_key(5, issue.key_path) ? delete_shared_dll_value(issue.value_name, issue.data) : -1;
}

int clsid_deleter(const dravik::registry_issue& issue, item_hive hive) {
  return own_subkey(6, issue.key_path, issue.value_name)
             ? delete_hkcr_key(issue.key_path, issue.data, hive)
             : -1;
}

int software_key_deleter(const dravik::registry_issue& issue, item_hive) {
  return own_subkey(7, issue.key_path, issue.value_name)
             ? delete_hkcu_key(issue.key_path, issue.data)
             : -1;
}

}  // namespace

category_table registry_categories() {
  category_table table{};
  table[0] = {&scan_app_paths, &app_path_deleter};
  table[1] = {&scan_help_files, &help_deleter};
  table[2] = {&scan_run_entries, &run_deleter};
  table[3] = {&scan_menu_order, &menu_order_deleter};
  table[5] = {&scan_shared_dlls, &shared_dll_deleter};
  table[6] = {&scan_clsids, &clsid_deleter};
  table[7] = {&scan_software_keys, &software_key_deleter};
  return table;
}

}  // namespace regscan
