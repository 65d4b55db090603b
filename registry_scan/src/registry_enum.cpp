#include "regscan/registry_access.h"

#include <cwchar>
#include <vector>

#include "tessarel/unique_handle.h"

namespace regscan {

namespace {

constexpr DWORD subkey_name_chars = 256;
constexpr DWORD value_name_chars = 16384;
constexpr DWORD value_data_bytes = 520;

// The key opened for reading and its number of subkeys or values.
bool open_for_enum(HKEY root, const wchar_t* key_path, tessarel::unique_registry_key& key,
                   DWORD& subkeys, DWORD& values) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key_path, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  key.reset(opened);
  return RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                          &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool has_zero(const wchar_t* text, DWORD length) {
  return std::wmemchr(text, L'\0', length) != nullptr;
}

}  // namespace

int enum_subkeys(HKEY root, const wchar_t* key_path, subkey_checker checker) {
  tessarel::unique_registry_key key;
  DWORD subkeys = 0, values = 0;
  if (!open_for_enum(root, key_path, key, subkeys, values)) return -1;
  for (DWORD index = 0; index < subkeys; ++index) {
    wchar_t name[subkey_name_chars + 1] = {};
    DWORD length = subkey_name_chars;
    if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      continue;
    // A name with a zero inside cannot be passed on whole: a deleter given
    // its first part would reach another key.
    if (length > subkey_name_chars || has_zero(name, length)) continue;
    name[length] = L'\0';
    const registry_subkey subkey{name};
    if (checker(&subkey)) break;
  }
  return 0;
}

int enum_values(HKEY root, const wchar_t* key_path, value_checker checker) {
  tessarel::unique_registry_key key;
  DWORD subkeys = 0, values = 0;
  if (!open_for_enum(root, key_path, key, subkeys, values)) return -1;
  std::vector<wchar_t> name(value_name_chars + 1);
  for (DWORD index = 0; index < values; ++index) {
    BYTE data[value_data_bytes] = {};
    DWORD name_length = value_name_chars;
    DWORD data_size = value_data_bytes;
    DWORD type = REG_NONE;
    if (RegEnumValueW(key.get(), index, name.data(), &name_length, nullptr, &type, data,
                      &data_size) != ERROR_SUCCESS)
      continue;
    if (name_length > value_name_chars || has_zero(name.data(), name_length)) continue;
    name[name_length] = L'\0';
    const std::wstring text =
        text_of_bytes(data, data_size < value_data_bytes ? data_size : value_data_bytes);
    const registry_value value{type, name.data(), text.c_str()};
    if (checker(&value)) break;
  }
  return 0;
}

}  // namespace regscan
