#include "simulated_engine/summary_file.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace dravik::sim {

bool write_summary_file(const std::wstring& path, std::string_view text) {
  const std::wstring temporary = path + L".tmp";
  tessarel::unique_kernel_handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool complete = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()),
                                  &written, nullptr) &&
                        written == text.size() && FlushFileBuffers(file.get());
  // Flushed, then renamed written through, as the engine replaces its files.
  if (!file.close() || !complete ||
      !MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace dravik::sim
