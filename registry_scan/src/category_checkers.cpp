#include "regscan/category_checkers.h"

#include "regscan/category_texts.h"
#include "regscan/checker_stop_flags.h"
#include "regscan/found_item.h"
#include "regscan/item_checks.h"
#include "regscan/path_checks.h"
#include "regscan/scan_hooks.h"
#include "tessarel/unique_handle.h"

namespace regscan {

std::wstring current_help_key;

namespace {

enum category_number : std::uint32_t {
  app_paths = 0, help_files = 1, run_entries = 2, menu_order = 3,
  shared_dlls = 5, clsids = 6, software_keys = 7,
};

std::wstring location(std::uint32_t category, const std::wstring& key_path) {
  return std::wstring(texts_of_category(category)->root_name) + L"\\" + key_path;
}

// Reports the item, a problem when problem is true; returns the category's
// stop flag.
bool report(std::uint32_t category, found_item& item, bool problem) {
  item.status = problem ? item_problem : item_fine;
  item.problem = problem ? texts_of_category(category)->problem : fine_text;
  if (const found_item_hook hook = found_item_callback.load()) hook(&item);
  return checker_stop_flags[category].load();
}

std::wstring subkey_location(std::uint32_t category, const wchar_t* base,
                             const registry_subkey* subkey) {
  return location(category, std::wstring(base) + L"\\" + subkey->name);
}

}  // namespace

bool check_app_path(const registry_subkey* subkey) {
  const std::wstring path = std::wstring(app_paths_key) + L"\\" + subkey->name;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return checker_stop_flags[app_paths].load();
  const tessarel::unique_registry_key key(opened);
  found_item item;
  item.key_path = location(app_paths, path);
  item.data = read_value_text(key.get(), nullptr);
  return report(app_paths, item, check_path_text(item.data) == path_missing);
}

bool check_help_file(const registry_value* value) {
  found_item item;
  item.key_path = location(help_files, current_help_key);
  item.value_name = value->name;
  // Binary or number data is never read as a folder, and a folder whose
  // expansion failed is not judged.
  const bool text = value->type == REG_SZ || value->type == REG_EXPAND_SZ;
  const std::wstring folder = judged_text(value->type, value->data);
  if (!text || (folder.empty() && value->data[0] != L'\0')) {
    return report(help_files, item, false);
  }
  item.data = folder;
  if (!item.data.empty() && item.data.back() != L'\\') item.data += L'\\';
  item.data += value->name;
  return report(help_files, item, check_path_text(item.data) == path_missing);
}

bool check_run_entry(const registry_value* value) {
  found_item item;
  item.key_path = location(run_entries, run_key);
  item.value_name = value->name;
  item.data = judged_text(value->type, value->data);
  return report(run_entries, item, check_path_text(item.data) == path_missing);
}

bool check_shared_dll(const registry_value* value) {
  found_item item;
  item.key_path = location(shared_dlls, shared_dlls_key);
  item.value_name = value->name;
  item.data = value->name;
  return report(shared_dlls, item, check_path_text(item.data) == path_missing);
}

bool check_software_key(const registry_subkey* subkey) {
  found_item item;
  item.key_path = subkey_location(software_keys, software_key, subkey);
  item.data = subkey->name;
  return report(software_keys, item, !software_key_in_use(subkey->name));
}

bool check_clsid(const registry_subkey* subkey) {
  found_item item;
  item.key_path = subkey_location(clsids, clsid_key, subkey);
  item.data = subkey->name;
  return report(clsids, item, !clsid_server_ok(subkey->name));
}

bool check_menu_order(const registry_subkey* subkey) {
  found_item item;
  item.key_path = subkey_location(menu_order, menu_order_key, subkey);
  item.data = subkey->name;
  return report(menu_order, item, !start_menu_folder_exists(subkey->name));
}

void scan_app_paths() {
  checker_stop_flags[app_paths] = false;
  enum_subkeys(HKEY_LOCAL_MACHINE, app_paths_key, &check_app_path);
}

// The flag is cleared once: a stop during the first key still lets the
// second start, and its first value is reported before the stop ends it.
void scan_help_files() {
  checker_stop_flags[help_files] = false;
  current_help_key = help_key;
  enum_values(HKEY_LOCAL_MACHINE, help_key, &check_help_file);
  current_help_key = html_help_key;
  enum_values(HKEY_LOCAL_MACHINE, html_help_key, &check_help_file);
}

void scan_run_entries() {
  checker_stop_flags[run_entries] = false;
  enum_values(HKEY_CURRENT_USER, run_key, &check_run_entry);
}

void scan_menu_order() {
  checker_stop_flags[menu_order] = false;
  enum_subkeys(HKEY_CURRENT_USER, menu_order_key, &check_menu_order);
}

void scan_shared_dlls() {
  checker_stop_flags[shared_dlls] = false;
  enum_values(HKEY_LOCAL_MACHINE, shared_dlls_key, &check_shared_dll);
}

void scan_clsids() {
  checker_stop_flags[clsids] = false;
  enum_subkeys(HKEY_CLASSES_ROOT, clsid_key, &check_clsid);
}

void scan_software_keys() {
  checker_stop_flags[software_keys] = false;
  enum_subkeys(HKEY_CURRENT_USER, software_key, &check_software_key);
}

}  // namespace regscan
