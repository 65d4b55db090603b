#pragma once
// One run of the program: a fresh copy of the simulated application folder
// at C:\e2e\<name> (runs rewrite the state files, reports and summary),
// Tessarel.exe started there, and its end. Owned by one test; the driver's
// thread alone.

#include <windows.h>

#include <optional>
#include <string>

#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

class program_run {
 public:
  // Makes the copy; start() starts the program. Throws std::runtime_error
  // when the copy cannot be made.
  explicit program_run(const std::wstring& name);
  // Ends a program still running (its summary is then not written).
  ~program_run();
  program_run(const program_run&) = delete;
  program_run& operator=(const program_run&) = delete;

  // The copy, without a trailing backslash, and a file in it.
  const std::wstring& folder() const { return folder_; }
  std::wstring file(const std::wstring& name) const { return folder_ + L"\\" + name; }

  // Starts Tessarel.exe in the copy with arguments after its quoted path.
  // False when it could not be started.
  bool start(const std::wstring& arguments = L"");
  DWORD process_id() const { return pid_; }
  HANDLE process() const { return process_.get(); }

  // The main window (class "__biscuit_view_class_name__") once it is shown
  // and laid out; null when none came within timeout_ms.
  HWND wait_for_main_window(DWORD timeout_ms = 30000);

  // The exit code once the process has ended; nothing when it still runs
  // after timeout_ms.
  std::optional<DWORD> wait_for_exit(DWORD timeout_ms);

  // The file of the copy as text; "" when it is missing.
  std::string read(const std::wstring& name) const;

 private:
  std::wstring folder_;
  unique_kernel_handle process_;
  DWORD pid_ = 0;
};

}  // namespace tessarel::e2e
