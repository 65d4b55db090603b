#include "host_process/host_process.h"

#include "tessarel/unique_handle.h"

namespace tessarel::testing {

std::string windows_path(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

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

}  // namespace tessarel::testing
