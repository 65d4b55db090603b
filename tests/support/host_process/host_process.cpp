#include "host_process/host_process.h"

#include "tessarel/unique_handle.h"

namespace tessarel::testing {

std::string windows_path(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

namespace {

DWORD wait_for_host(const PROCESS_INFORMATION& process, DWORD timeout_ms) {
  const unique_kernel_handle thread(process.hThread);
  const unique_kernel_handle running(process.hProcess);
  DWORD exit_code = 98;
  if (WaitForSingleObject(running.get(), timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(running.get(), &exit_code);
  } else {
    TerminateProcess(running.get(), 98);
  }
  return exit_code;
}

}  // namespace

DWORD run_host(const std::string& executable, const std::string& arguments,
               const std::string& folder, DWORD timeout_ms) {
  std::string command = "\"" + executable + "\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(executable.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return 96;
  }
  return wait_for_host(process, timeout_ms);
}

DWORD run_host(const std::wstring& executable, const std::wstring& arguments,
               const std::wstring& folder, DWORD timeout_ms) {
  std::wstring command = L"\"" + executable + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(executable.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return 96;
  }
  return wait_for_host(process, timeout_ms);
}

}  // namespace tessarel::testing
