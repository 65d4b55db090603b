#pragma once
// Values of HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Run":
// programs started when a user logs on.

#include <string>

namespace dravik {

extern const char* const run_key_path;

// Writes the value name when present is true, deletes it otherwise. The
// data (REG_SZ) is program_path in double quotes: an unquoted path with
// blanks would be tried prefix by prefix at log-on ("C:\Program.exe" first).
// Deleting goes by name, so an older unquoted value is removed all the same. Failures are shown to the user
// ("创建注册表键失败.", "写入注册表键失败.", "删除注册表键失败."); a value that
// is not there to delete is a failure too. Returns true on success.
// User interface thread only (it may show a message box).
bool update_run_entry(const char* value_name, bool present, const std::string& program_path);

// program_path in double quotes, as a Run value holds it.
std::string quoted_run_command(const std::string& program_path);

}  // namespace dravik
