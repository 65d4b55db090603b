#include "advanced/companion_process.h"

#include "text/ansi_text.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "tessarel/unique_handle.h"

namespace dravik {

const char* const companion_executable = "VELTOR.exe";

namespace {

// Pause between two snapshots while waiting for a started companion: short
// enough not to delay the dialog, long enough not to spin.
constexpr DWORD snapshot_pause_ms = 20;

}  // namespace

std::optional<DWORD> find_process(const std::vector<process_entry>& processes, const char* name) {
  for (const process_entry& process : processes)
    if (ansi_equal_ignoring_case(process.executable.c_str(), name)) return process.id;
  return std::nullopt;
}

std::vector<process_entry> running_processes() {
  std::vector<process_entry> processes;
  const HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (taken == INVALID_HANDLE_VALUE) return processes;
  const tessarel::unique_kernel_handle snapshot(taken);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
    processes.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return processes;
}

std::optional<DWORD> find_companion() {
  return find_process(running_processes(), companion_executable);
}

std::optional<DWORD> start_companion(const std::string& application_folder, DWORD timeout_ms) {
  // The full path: a bare name would be looked for in the current folder and
  // on the search path too, and might start some other VELTOR.exe.
  const std::string path = application_folder + companion_executable;
  const auto started = reinterpret_cast<INT_PTR>(ShellExecuteA(
      nullptr, nullptr, path.c_str(), nullptr, application_folder.c_str(), SW_SHOWNORMAL));
  // Values up to 32 are the shell's error codes.
  if (started <= 32) return std::nullopt;

  // A process the shell started may take a moment to be listed; one that
  // never shows up (it ended at once, or the shell handed the file to some
  // other program) must not keep the dialog waiting.
  const DWORD start = GetTickCount();
  for (;;) {
    if (const std::optional<DWORD> id = find_companion()) return id;
    if (GetTickCount() - start >= timeout_ms) return std::nullopt;
    Sleep(snapshot_pause_ms);
  }
}

bool end_companion(DWORD id, DWORD timeout_ms) {
  const std::vector<process_entry> processes = running_processes();
  bool still_companion = false;
  for (const process_entry& process : processes)
    if (process.id == id &&
        ansi_equal_ignoring_case(process.executable.c_str(), companion_executable))
      still_companion = true;
  if (!still_companion) return false;

  const tessarel::unique_kernel_handle process(
      OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  if (!process) return false;
  if (!TerminateProcess(process.get(), 0)) return false;
  // Waiting on the process rather than for a fixed time: done as soon as it
  // has gone, and never longer than the limit.
  WaitForSingleObject(process.get(), timeout_ms);
  return true;
}

}  // namespace dravik
