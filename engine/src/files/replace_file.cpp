#include "files/replace_file.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace dravik {
namespace {

bool write_all(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk =
        bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::string replacement_temporary_name(const std::string& path) { return path + ".tmp"; }

bool replace_file(const std::string& path, std::string_view bytes) {
  const std::string temporary = replacement_temporary_name(path);
  {
    tessarel::unique_kernel_handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
    if (!file.is_open()) return false;
    const bool written = write_all(file.get(), bytes);
    if (!file.close() || !written) {
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace dravik
