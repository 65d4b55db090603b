#pragma once
// The checks that judge a whole registry key. Worker thread; each reads
// through the predefined roots as the process sees them now.

#include <string>

namespace regscan {

// False only for an empty key HKEY_CURRENT_USER\Software\<name>: it opens
// and has no subkey, no value and no default value. Anything that cannot be
// read counts as in use.
bool software_key_in_use(const std::wstring& name);

// False only when the class HKEY_CLASSES_ROOT\CLSID\<id> names a server
// file that is missing: every server subkey it has (InprocServer32,
// LocalServer32) names a drive path whose file exists nowhere. A class
// without server subkeys, or with one whose text is not judged, is fine.
bool clsid_server_ok(const std::wstring& id);

// False only when the Start-menu folder <name> is known to be missing: at
// least one of the Shell Folders values (the user's "程序", the common
// "公用库") names an existing folder and the subkey's folder exists under
// none of those. Missing or empty values, and values naming no folder, are
// not used; with none used the subkey is not judged (true).
bool start_menu_folder_exists(const std::wstring& name);

}  // namespace regscan
