#include "options/run_key_entry.h"

#include "classlib/message_box.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace dravik {

const char* const run_key_path = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string quoted_run_command(const std::string& program_path) {
  return "\"" + program_path + "\"";
}

bool update_run_entry(const char* value_name, bool present, const std::string& program_path) {
  HKEY opened = nullptr;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, run_key_path, &opened) != ERROR_SUCCESS) {
    AfxMessageBox("创建注册表键失败.");
    return false;
  }
  const tessarel::unique_registry_key key(opened);
  if (present) {
    const std::string data = quoted_run_command(program_path);
    const LONG status = RegSetValueExA(key.get(), value_name, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>(data.size() + 1));
    if (status != ERROR_SUCCESS) {
      AfxMessageBox("写入注册表键失败.");
      return false;
    }
    return true;
  }
  if (RegDeleteValueA(key.get(), value_name) != ERROR_SUCCESS) {
    AfxMessageBox("删除注册表键失败.");
    return false;
  }
  return true;
}

}  // namespace dravik
