#include "startup/system_power.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace tessarel {
namespace {

// A planned operating-system upgrade, as the shutdown log records it.
constexpr DWORD shut_down_reason =
    SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_UPGRADE;

bool exit_windows(UINT flags) {
  if (!enable_shut_down_privilege()) return false;
  return ExitWindowsEx(flags, shut_down_reason) != FALSE;
}

}  // namespace

bool enable_shut_down_privilege() {
  HANDLE raw_token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        &raw_token)) {
    return false;
  }
  const unique_kernel_handle token(raw_token);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    return false;
  }
  // A privilege the user does not hold is not an error of the call itself:
  // it reports success and sets ERROR_NOT_ALL_ASSIGNED.
  const BOOL adjusted = AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  const DWORD error = GetLastError();
  return adjusted && error == ERROR_SUCCESS;
}

bool shut_down_computer() { return exit_windows(EWX_SHUTDOWN | EWX_FORCE); }

bool restart_computer() { return exit_windows(EWX_REBOOT | EWX_FORCE); }

}  // namespace tessarel
