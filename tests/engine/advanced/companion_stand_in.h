#pragma once
// An application folder with the companion's stand-in in it ("VELTOR.exe",
// which waits until it is ended). Every companion process started from this
// folder is ended when the object goes, whatever the test did.

#include "scratch_folder/scratch_folder.h"

#include <tlhelp32.h>
#include <windows.h>

#include <string>
#include <vector>

namespace dravik::testing {

class companion_stand_in {
 public:
  companion_stand_in() {
    installed_ = CopyFileA(TESSAREL_TEST_VELTOR_EXE, executable().c_str(), FALSE);
  }
  ~companion_stand_in() { end_all(); }
  companion_stand_in(const companion_stand_in&) = delete;
  companion_stand_in& operator=(const companion_stand_in&) = delete;

  bool installed() const { return installed_ != FALSE; }
  const std::string& folder() const { return folder_.path(); }
  std::string executable() const { return folder_.path() + "VELTOR.exe"; }
  const tessarel::testing::scratch_folder& files() const { return folder_; }

  // Starts the stand-in directly (as the log-on entry would). The handle
  // stays with the object.
  DWORD start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + executable() + "\"";
    if (!CreateProcessA(executable().c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.path().c_str(), &startup, &process))
      return 0;
    CloseHandle(process.hThread);
    handles_.push_back(process.hProcess);
    return process.dwProcessId;
  }

  // The ids of the stand-ins from this folder that run now.
  std::vector<DWORD> running() const {
    std::vector<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
      if (lstrcmpiA(entry.szExeFile, "VELTOR.exe") == 0 && from_here(entry.th32ProcessID))
        ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
  }

  void end_all() {
    for (const DWORD id : running()) {
      const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
      if (!process) continue;
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    for (const HANDLE handle : handles_) CloseHandle(handle);
    handles_.clear();
  }

 private:
  bool from_here(DWORD id) const {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return false;
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    const bool named = QueryFullProcessImageNameA(process, 0, path, &size) != FALSE;
    CloseHandle(process);
    return named && lstrcmpiA(path, executable().c_str()) == 0;
  }

  tessarel::testing::scratch_folder folder_;
  BOOL installed_ = FALSE;
  std::vector<HANDLE> handles_;
};

}  // namespace dravik::testing
