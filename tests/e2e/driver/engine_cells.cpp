#include "driver/engine_cells.h"

#include <windows.h>

#include <sstream>

#include "driver/e2e_files.h"
#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

namespace {

constexpr DWORD probe_timeout_ms = 120000;

bool run_probe(const std::wstring& folder, const std::string& letters) {
  const std::wstring probe = folder + L"\\engine_probe.exe";
  if (!CopyFileW(engine_probe_file().c_str(), probe.c_str(), FALSE)) return false;
  std::wstring command = L"\"" + probe + L"\" " +
                         (letters.empty() ? L"-" : std::wstring(letters.begin(), letters.end()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started))
    return false;
  const unique_kernel_handle thread(started.hThread);
  const unique_kernel_handle process(started.hProcess);
  DWORD code = 1;
  if (WaitForSingleObject(process.get(), probe_timeout_ms) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    return false;
  }
  return GetExitCodeProcess(process.get(), &code) && code == 0;
}

}  // namespace

std::map<char, std::vector<int>> engine_cell_codes(const std::string& letters) {
  const std::wstring folder = work_root() + L"\\engine-" +
                              (letters.empty() ? L"fresh" : std::wstring(letters.begin(),
                                                                         letters.end()));
  CreateDirectoryW(work_root().c_str(), nullptr);
  std::map<char, std::vector<int>> codes;
  if (!copy_folder(simulated_app_folder(), folder) || !run_probe(folder, letters)) return codes;
  std::istringstream lines(read_file(folder + L"\\cell-codes.txt").value_or(""));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    char letter = 0;
    int code = 0;
    if (!(words >> letter)) continue;
    std::vector<int>& volume = codes[letter];
    while (words >> code) volume.push_back(code);
  }
  return codes;
}

}  // namespace tessarel::e2e
