#pragma once
// The deleters of the registry categories. Each accepts only the shape of
// item its category reports and returns -1, deleting nothing, for anything
// else: a key deleter takes the root's name, a backslash, its category's
// key path, a backslash and one non-empty subkey name without a backslash or
// zero character; a value deleter takes a value name without a zero
// character. 0 on success, -1 on any failure. Registry worker thread.

#include <string>

namespace regscan {

// An App Paths subkey of HKEY_LOCAL_MACHINE, with everything below it.
int delete_hklm_key(const std::wstring& key_path);
// A value of the Help key, or of the Html Help key; key_path must name one
// of the two exactly.
int delete_help_value(const std::wstring& key_path, const std::wstring& value_name);
// A value of the current user's Run key.
int delete_run_value(const std::wstring& value_name);
// A Start-menu order subkey with everything below it, or an empty key
// directly under HKEY_CURRENT_USER\Software, which is checked again first
// and kept (-1) when it has gained a value, subkey or default value.
int delete_hkcu_key(const std::wstring& key_path);
// A value of the SharedDlls key.
int delete_shared_dll_value(const std::wstring& value_name);
// A CLSID subkey of HKEY_CLASSES_ROOT, with everything below it.
int delete_hkcr_key(const std::wstring& key_path);

// The subkey name when key_path is root_name\base\<name> as described
// above; empty otherwise.
std::wstring subkey_of(const std::wstring& key_path, const wchar_t* root_name,
                       const wchar_t* base);

}  // namespace regscan
