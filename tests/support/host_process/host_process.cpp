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

std::wstring ansi_to_wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}

}  // namespace

DWORD run_host(const std::string& executable, const std::string& arguments,
               const std::string& folder, DWORD timeout_ms) {
  return run_host(ansi_to_wide(executable), ansi_to_wide(arguments), ansi_to_wide(folder),
                  timeout_ms);
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
