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

// SHDeleteKeyW of base\name below root: the key with all below it.
int delete_tree(HKEY root, const wchar_t* base, const std::wstring& name) {
  if (name.empty()) return -1;
  const std::wstring path = std::wstring(base) + L"\\" + name;
  return SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS ? 0 : -1;
}

int delete_value(HKEY root, const wchar_t* key_path, const std::wstring& value_name) {
  if (!whole_name(value_name)) return -1;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key_path, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return -1;
  const tessarel::unique_registry_key key(opened);
  return RegDeleteValueW(key.get(), value_name.c_str()) == ERROR_SUCCESS ? 0 : -1;
}

// An empty software key: deleted only when it is still empty now, and with
// RegDeleteKeyW, which refuses a key that gained a subkey in the meantime.
int delete_empty_software_key(const std::wstring& name) {
  if (name.empty() || software_key_in_use(name)) return -1;
  const std::wstring path = std::wstring(software_key) + L"\\" + name;
  return RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS ? 0 : -1;
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

int delete_hklm_key(const std::wstring& key_path) {
  return delete_tree(HKEY_LOCAL_MACHINE, app_paths_key,
                     subkey_of(key_path, hklm_name, app_paths_key));
}

int delete_help_value(const std::wstring& key_path, const std::wstring& value_name) {
  const std::wstring root = std::wstring(hklm_name) + L"\\";
  if (key_path == root + help_key) return delete_value(HKEY_LOCAL_MACHINE, help_key, value_name);
  if (key_path == root + html_help_key)
    return delete_value(HKEY_LOCAL_MACHINE, html_help_key, value_name);
  return -1;
}

int delete_run_value(const std::wstring& value_name) {
  return delete_value(HKEY_CURRENT_USER, run_key, value_name);
}

int delete_hkcu_key(const std::wstring& key_path) {
  const std::wstring menu_entry = subkey_of(key_path, hkcu_name, menu_order_key);
  if (!menu_entry.empty()) return delete_tree(HKEY_CURRENT_USER, menu_order_key, menu_entry);
  return delete_empty_software_key(subkey_of(key_path, hkcu_name, software_key));
}

int delete_shared_dll_value(const std::wstring& value_name) {
  return delete_value(HKEY_LOCAL_MACHINE, shared_dlls_key, value_name);
}

int delete_hkcr_key(const std::wstring& key_path) {
  return delete_tree(HKEY_CLASSES_ROOT, clsid_key, subkey_of(key_path, hkcr_name, clsid_key));
}

}  // namespace regscan
