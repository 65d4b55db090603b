#include "simulated_engine/report_recorder.h"

#include <windows.h>

#include <string>

#include "simulated_engine/module_folder.h"
#include "tessarel/unique_handle.h"

namespace dravik::sim {

void record_report_address(const char* address) {
  if (address == nullptr) return;
  const std::wstring path = simulated_engine_folder() + opened_reports_file_name;
  // Append-only access: each line lands whole at the end even if a reader
  // has the file open.
  tessarel::unique_kernel_handle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string line = std::string(address) + "\n";
  DWORD written = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace dravik::sim
