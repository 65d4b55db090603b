#include "regscan/item_checks.h"

#include <cwchar>

#include "regscan/category_texts.h"
#include "regscan/path_checks.h"
#include "regscan/registry_access.h"
#include "tessarel/unique_handle.h"

namespace regscan {

namespace {

constexpr DWORD value_data_bytes = 520;

tessarel::unique_registry_key open_for_reading(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  return tessarel::unique_registry_key(opened);
}

bool has_subkey(HKEY key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(key, name, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool has_value(HKEY key, const wchar_t* name) {
  return RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

HKEY classes_root_of(item_hive hive) {
  return hive == hive_user_classes ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The verdict of one server subkey's default value; nothing when the class
// has no such subkey. A key holding an installer descriptor, or a local
// server key naming its program by ServerExecutable, is not judged.
bool judge_server(HKEY class_key, const wchar_t* server, const wchar_t* extension,
                  path_verdict& verdict) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(class_key, server, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  const tessarel::unique_registry_key key(opened);
  // The program of a local server may also be named by ServerExecutable.
  const bool local = std::wcscmp(server, local_server_key) == 0;
  if (has_value(key.get(), inproc_server_key) || has_value(key.get(), local_server_key) ||
      (local && has_value(key.get(), server_executable_value))) {
    verdict = path_unjudged;
    return true;
  }
  verdict = check_path_text(read_value_text(key.get(), nullptr), {extension, true});
  return true;
}

// Whether the class's AppID has the system start it as a service: its key,
// looked up in the user's classes and then in the machine's as COM does,
// holds a LocalService value. An AppID value or key that cannot be read
// counts as a service too, so the class is not judged.
bool started_as_service(HKEY class_key) {
  wchar_t id[64] = {};
  DWORD size = sizeof id - sizeof id[0], type = REG_NONE;
  const LSTATUS status = RegQueryValueExW(class_key, app_id_value, nullptr, &type,
                                          reinterpret_cast<BYTE*>(id), &size);
  if (status == ERROR_FILE_NOT_FOUND) return false;
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return true;
  const std::wstring name = text_of_bytes(reinterpret_cast<const BYTE*>(id), size);
  // No key of that name can exist.
  if (name.empty() || name.find(L'\\') != std::wstring::npos) return false;
  const std::wstring path = std::wstring(classes_app_id_key) + L"\\" + name;
  for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY opened = nullptr;
    const LSTATUS open = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened);
    if (open == ERROR_FILE_NOT_FOUND) continue;
    if (open != ERROR_SUCCESS) return true;
    const tessarel::unique_registry_key key(opened);
    return RegQueryValueExW(key.get(), local_service_value, nullptr, nullptr, nullptr, nullptr) !=
           ERROR_FILE_NOT_FOUND;
  }
  return false;
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

judgement judged(bool present, std::wstring data, bool problem) {
  judgement result;
  result.present = present;
  result.data = std::move(data);
  result.problem = problem;
  return result;
}

}  // namespace

judgement judge_help_value(DWORD type, const std::wstring& text, const std::wstring& name) {
  // Binary or number data is never read as a folder.
  if (type != REG_SZ && type != REG_EXPAND_SZ) return judged(true, L"", false);
  std::wstring path = literal_text(type, text);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += name;
  const bool problem = check_whole_path(path) == path_missing;
  return judged(true, std::move(path), problem);
}

judgement judge_run_value(DWORD type, const std::wstring& text) {
  std::wstring command = literal_text(type, text);
  const bool problem = check_path_text(command, {L".exe", false}) == path_missing;
  return judged(true, std::move(command), problem);
}

judgement judge_shared_dll(const std::wstring& name) {
  // A count kept for a folder (a name ending in a backslash) is judged as
  // the folder.
  return judged(true, name, check_whole_path(name) == path_missing);
}

judgement judge_app_path(const std::wstring& name) {
  const tessarel::unique_registry_key key =
      open_for_reading(HKEY_LOCAL_MACHINE, std::wstring(app_paths_key) + L"\\" + name);
  if (!key) return {};
  std::wstring program = read_value_text(key.get(), nullptr);
  const bool problem = check_path_text(program, {L".exe", true}) == path_missing;
  return judged(true, std::move(program), problem);
}

judgement judge_software_key(const std::wstring& name) {
  const bool present =
      static_cast<bool>(open_for_reading(HKEY_CURRENT_USER, std::wstring(software_key) + L"\\" + name));
  return judged(present, name, present && !software_key_in_use(name));
}

judgement judge_class(item_hive hive, const std::wstring& id) {
  const bool present = static_cast<bool>(
      open_for_reading(classes_root_of(hive), std::wstring(classes_clsid_key) + L"\\" + id));
  return judged(present, id, present && !clsid_server_ok(hive, id));
}

judgement judge_menu_order(const std::wstring& name) {
  const bool present = static_cast<bool>(
      open_for_reading(HKEY_CURRENT_USER, std::wstring(menu_order_key) + L"\\" + name));
  return judged(present, name, present && !start_menu_folder_exists(name));
}

bool read_value_now(HKEY root, const wchar_t* key_path, const std::wstring& name, DWORD& type,
                    std::wstring& text) {
  const tessarel::unique_registry_key key = open_for_reading(root, key_path);
  if (!key) return false;
  BYTE data[value_data_bytes] = {};
  DWORD size = sizeof data;
  type = REG_NONE;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
    return false;
  text = text_of_bytes(data, size < sizeof data ? size : sizeof data);
  return true;
}

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

bool clsid_server_ok(item_hive hive, const std::wstring& id) {
  const tessarel::unique_registry_key class_key =
      open_for_reading(classes_root_of(hive), std::wstring(classes_clsid_key) + L"\\" + id);
  if (!class_key) return true;
  // Another class or a handler serves it.
  for (const wchar_t* used : {treat_as_key, auto_treat_as_key, inproc_handler_key}) {
    if (has_subkey(class_key.get(), used)) return true;
  }
  if (started_as_service(class_key.get())) return true;
  struct server { const wchar_t* key; const wchar_t* extension; };
  bool any_server = false;
  for (const server& s : {server{inproc_server_key, L".dll"}, server{local_server_key, L".exe"}}) {
    path_verdict verdict = path_unjudged;
    if (!judge_server(class_key.get(), s.key, s.extension, verdict)) continue;
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
  const auto not_absent = [&](const std::wstring& folder) {
    return !folder.empty() && look_up_path(folder + name) != path_presence::absent;
  };
  return not_absent(user) || not_absent(common);
}

}  // namespace regscan
