#pragma once
// The deleters of the registry categories. Each accepts only the shape of
// item its category reports and returns -1, deleting nothing, for anything
// else: a key deleter takes the root's name, a backslash, its category's
// key path, a backslash and one non-empty subkey name without a backslash or
// zero character; a value deleter takes a value name without a zero
// character.
//
// Right before it deletes, each deleter reads the item again and judges it
// as the scan did. It deletes only when the item is still there, its check
// still calls it a problem, and the text judged is still data, the text
// the scan judged. Registry worker thread.

#include <string>

#include "regscan/found_item.h"

namespace regscan {

enum delete_result : int {
  item_deleted = 0,
  item_kept = -1,      // not deleted: gone, changed, refused or not its shape
  item_now_fine = 1,   // not deleted: its check no longer calls it a problem
};

// An App Paths subkey of HKEY_LOCAL_MACHINE, with everything below it.
int delete_hklm_key(const std::wstring& key_path, const std::wstring& data);
// A value of the Help key, or of the Html Help key; key_path must name one
// of the two exactly.
int delete_help_value(const std::wstring& key_path, const std::wstring& value_name,
                      const std::wstring& data);
// A value of the current user's Run key.
int delete_run_value(const std::wstring& value_name, const std::wstring& data);
// A Start-menu order subkey with everything below it, or an empty key
// directly under HKEY_CURRENT_USER\Software (with RegDeleteKeyW, which
// refuses a key that has gained a subkey).
int delete_hkcu_key(const std::wstring& key_path, const std::wstring& data);
// A value of the SharedDlls key.
int delete_shared_dll_value(const std::wstring& value_name, const std::wstring& data);
// A class HKEY_CLASSES_ROOT\CLSID\<id>, with everything below it, from the
// hive that holds it (the machine's or the user's classes); never through
// the merged view.
int delete_hkcr_key(const std::wstring& key_path, const std::wstring& data, item_hive hive);

// The subkey name when key_path is root_name\base\<name> as described
// above; empty otherwise.
std::wstring subkey_of(const std::wstring& key_path, const wchar_t* root_name,
                       const wchar_t* base);

}  // namespace regscan
