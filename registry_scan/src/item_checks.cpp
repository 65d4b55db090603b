#include "regscan/item_checks.h"

#include "regscan/category_texts.h"
#include "regscan/path_checks.h"
#include "regscan/registry_access.h"
#include "tessarel/unique_handle.h"

namespace regscan {

namespace {

tessarel::unique_registry_key open_for_reading(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  return tessarel::unique_registry_key(opened);
}

// The verdict of one server subkey's default value; nothing when the class
// has no such subkey.
bool judge_server(const std::wstring& class_key, const wchar_t* server, path_verdict& verdict) {
  const tessarel::unique_registry_key key =
      open_for_reading(HKEY_CLASSES_ROOT, class_key + L"\\" + server);
  if (!key) return false;
  verdict = check_path_text(read_value_text(key.get(), nullptr));
  return true;
}

// The folder named by a Shell Folders value, when that value holds text
// naming an existing folder; empty otherwise.
std::wstring programs_folder(HKEY root, const wchar_t* value_name) {
  const tessarel::unique_registry_key key = open_for_reading(root, shell_folders_key);
  if (!key) return {};
  std::wstring folder = read_value_text(key.get(), value_name);
  if (folder.empty() || !folder_exists(folder)) return {};
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

bool software_key_in_use(const std::wstring& name) {
  const tessarel::unique_registry_key key =
      open_for_reading(HKEY_CURRENT_USER, std::wstring(software_key) + L"\\" + name);
  if (!key) return true;
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return true;
  if (subkeys > 0 || values > 0) return true;
  // A default value of any type or length keeps the key.
  DWORD size = 0;
  const LSTATUS status = RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, nullptr, &size);
  return status != ERROR_FILE_NOT_FOUND;
}

bool clsid_server_ok(const std::wstring& id) {
  const std::wstring class_key = std::wstring(clsid_key) + L"\\" + id;
  bool any_server = false;
  for (const wchar_t* server : {inproc_server_key, local_server_key}) {
    path_verdict verdict = path_unjudged;
    if (!judge_server(class_key, server, verdict)) continue;
    // One server that exists or cannot be judged keeps the class.
    if (verdict != path_missing) return true;
    any_server = true;
  }
  return !any_server;
}

bool start_menu_folder_exists(const std::wstring& name) {
  const std::wstring user = programs_folder(HKEY_CURRENT_USER, user_programs_value);
  const std::wstring common = programs_folder(HKEY_LOCAL_MACHINE, common_programs_value);
  if (user.empty() && common.empty()) return true;
  return (!user.empty() && folder_exists(user + name)) ||
         (!common.empty() && folder_exists(common + name));
}

}  // namespace regscan
