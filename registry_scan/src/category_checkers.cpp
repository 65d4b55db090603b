#include "regscan/category_checkers.h"

#include "regscan/category_texts.h"
#include "regscan/checker_stop_flags.h"
#include "regscan/found_item.h"
#include "regscan/item_checks.h"
#include "regscan/path_checks.h"
#include "regscan/scan_hooks.h"

namespace regscan {

std::wstring current_help_key;

namespace {

// The hive whose classes the class phase enumerates. Worker thread only.
item_hive current_class_hive = hive_machine_classes;

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
  const judgement now = judge_app_path(subkey->name);
  if (!now.present) return checker_stop_flags[app_paths].load();
  found_item item;
  item.key_path = subkey_location(app_paths, app_paths_key, subkey);
  item.data = now.data;
  return report(app_paths, item, now.problem);
}

bool check_help_file(const registry_value* value) {
  const judgement now = judge_help_value(value->type, value->data, value->name);
  found_item item;
  item.key_path = location(help_files, current_help_key);
  item.value_name = value->name;
  item.data = now.data;
  return report(help_files, item, now.problem);
}

bool check_run_entry(const registry_value* value) {
  const judgement now = judge_run_value(value->type, value->data);
  found_item item;
  item.key_path = location(run_entries, run_key);
  item.value_name = value->name;
  item.data = now.data;
  return report(run_entries, item, now.problem);
}

bool check_shared_dll(const registry_value* value) {
  const judgement now = judge_shared_dll(value->name);
  found_item item;
  item.key_path = location(shared_dlls, shared_dlls_key);
  item.value_name = value->name;
  item.data = now.data;
  return report(shared_dlls, item, now.problem);
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
  item.hive = current_class_hive;
  return report(clsids, item, !clsid_server_ok(current_class_hive, subkey->name));
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

// The machine's classes, then the user's, each judged in its own hive:
// the merged HKEY_CLASSES_ROOT view lays the user's over the machine's, and
// a delete through it could reach a machine-wide key that was never judged.
void scan_clsids() {
  checker_stop_flags[clsids] = false;
  current_class_hive = hive_machine_classes;
  enum_subkeys(HKEY_LOCAL_MACHINE, classes_clsid_key, &check_clsid);
  if (checker_stop_flags[clsids].load()) return;
  current_class_hive = hive_user_classes;
  enum_subkeys(HKEY_CURRENT_USER, classes_clsid_key, &check_clsid);
}

void scan_software_keys() {
  checker_stop_flags[software_keys] = false;
  enum_subkeys(HKEY_CURRENT_USER, software_key, &check_software_key);
}

}  // namespace regscan
