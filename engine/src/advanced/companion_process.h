#pragma once
// The companion background defragmenter: finding, starting and ending its
// process. The companion is not ours; it is known only by its executable
// name, "VELTOR.exe" in the application folder.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace dravik {

extern const char* const companion_executable;

struct process_entry {
  DWORD id;
  std::string executable;  // file name without folder, as the snapshot gives it
};

// The first process whose executable name equals name, ASCII letters
// compared without regard to case.
std::optional<DWORD> find_process(const std::vector<process_entry>& processes, const char* name);

// The processes running now. Empty when no snapshot can be taken.
std::vector<process_entry> running_processes();

// The companion's process in a fresh snapshot.
std::optional<DWORD> find_companion();

// How long start_companion waits for the started process to be listed.
constexpr DWORD companion_start_timeout_ms = 5000;
// How long end_companion waits for the ended process to go.
constexpr DWORD companion_end_timeout_ms = 3000;

// Starts application_folder + "VELTOR.exe" through the shell with the folder
// as its working directory, then looks for it in fresh snapshots until it is
// listed or timeout_ms have passed. Returns its id; nothing when the shell
// could not start it or it never showed up.
std::optional<DWORD> start_companion(const std::string& application_folder,
                                     DWORD timeout_ms = companion_start_timeout_ms);

// Ends process id, but only while a fresh snapshot still lists it as the
// companion (an id can be reused once its process is gone), and waits up to
// timeout_ms for it to go. Returns whether it was ended.
bool end_companion(DWORD id, DWORD timeout_ms = companion_end_timeout_ms);

}  // namespace dravik
