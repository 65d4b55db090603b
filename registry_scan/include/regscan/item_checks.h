#pragma once
// What each category's check makes of one registry item. The checkers judge
// what they enumerate; the deleters judge the item again, as it is at that
// moment, right before they delete it. Worker thread; the key checks read
// through the predefined roots as the process sees them now.

#include <windows.h>

#include <string>

#include "regscan/found_item.h"

namespace regscan {

struct judgement {
  bool present = false;  // the item is there (keys: the key opens)
  bool problem = false;  // the category's check calls it a problem
  std::wstring data;     // the text that was judged
};

// Values, from their type and data as read. Run entries and help folders
// are judged as they stand, never expanded.
judgement judge_help_value(DWORD type, const std::wstring& text, const std::wstring& name);
judgement judge_run_value(DWORD type, const std::wstring& text);
judgement judge_shared_dll(const std::wstring& name);

// Keys, read from the registry now.
judgement judge_app_path(const std::wstring& name);
judgement judge_software_key(const std::wstring& name);
judgement judge_class(item_hive hive, const std::wstring& id);
judgement judge_menu_order(const std::wstring& name);

// The value name of root\key_path as it is now, read as an enumeration
// reads it (at most 520 bytes). False when it is missing or larger.
bool read_value_now(HKEY root, const wchar_t* key_path, const std::wstring& name, DWORD& type,
                    std::wstring& text);

// False only for an empty key HKEY_CURRENT_USER\Software\<name>: it opens
// and has no subkey, no value and no default value. Anything that cannot be
// read counts as in use.
bool software_key_in_use(const std::wstring& name);

// False only when the class <id> of the hive names a server file that is
// missing: every server subkey it has (InprocServer32, LocalServer32) names
// a drive path whose file certainly exists nowhere. A class without server
// subkeys, with one whose text is not judged, with TreatAs, AutoTreatAs or
// InprocHandler32, with a server key holding an installer descriptor (a
// value named InprocServer32 or LocalServer32: the file comes on first use),
// with a LocalServer32 key holding ServerExecutable, or whose AppID (in the
// user's classes, else the machine's) has LocalService or cannot be read is
// fine.
bool clsid_server_ok(item_hive hive, const std::wstring& id);

// False only when the Start-menu folder <name> is known to be missing: at
// least one of the Shell Folders values (the user's "程序", the common
// "公用库") names an existing folder and the subkey's folder is certainly
// absent under each of those. Missing or empty values, and values naming no
// folder, are not used; with none used the subkey is not judged (true).
bool start_menu_folder_exists(const std::wstring& name);

}  // namespace regscan
