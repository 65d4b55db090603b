#pragma once
// Values of HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Run":
// programs started when a user logs on.

#include <string>

namespace dravik {

extern const char* const run_key_path;

// Writes the value name (REG_SZ, data with its terminating zero) when
// present is true, deletes it otherwise. Failures are shown to the user
// ("创建注册表键失败.", "写入注册表键失败.", "删除注册表键失败."); a value that
// is not there to delete is a failure too. Returns true on success.
// User interface thread only (it may show a message box).
bool update_run_entry(const char* value_name, bool present, const std::string& data);

}  // namespace dravik
