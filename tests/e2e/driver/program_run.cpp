#include "driver/program_run.h"

#include <stdexcept>

#include "driver/e2e_files.h"
#include "driver/program_windows.h"
#include "driver/wait_until.h"

namespace tessarel::e2e {

namespace {

constexpr const wchar_t* main_window_class = L"__biscuit_view_class_name__";

}  // namespace

program_run::program_run(const std::wstring& name) : folder_(work_root() + L"\\" + name) {
  CreateDirectoryW(work_root().c_str(), nullptr);
  if (!copy_folder(simulated_app_folder(), folder_))
    throw std::runtime_error("cannot copy the simulated application folder");
}

program_run::~program_run() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 10000);
  }
}

bool program_run::start(const std::wstring& arguments) {
  const std::wstring program = file(L"Tessarel.exe");
  std::wstring command = L"\"" + program + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &started))
    return false;
  const unique_kernel_handle thread(started.hThread);
  process_.reset(started.hProcess);
  pid_ = started.dwProcessId;
  return true;
}

HWND program_run::wait_for_main_window(DWORD timeout_ms) {
  HWND main = nullptr;
  wait_until(
      [&] {
        const auto found = top_windows(pid_, main_window_class);
        main = found.empty() ? nullptr : found.front();
        // Laid out: the map and the buttons are there once the window has
        // its size and its first paint.
        return main != nullptr && client_size(main).cx > 0 &&
               GetWindow(main, GW_CHILD) != nullptr;
      },
      timeout_ms);
  return main;
}

std::optional<DWORD> program_run::wait_for_exit(DWORD timeout_ms) {
  if (!process_ || WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::string program_run::read(const std::wstring& name) const {
  return read_file(file(name)).value_or("");
}

}  // namespace tessarel::e2e
