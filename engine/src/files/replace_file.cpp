#include "files/replace_file.h"

#include <windows.h>

#include "files/file_seam.h"
#include "tessarel/unique_handle.h"

namespace dravik {
namespace {

bool write_all(const file_seam& io, HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk =
        bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!io.write_file(file, bytes.data(), chunk, &written) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::string replacement_temporary_name(const std::string& path) { return path + ".tmp"; }

bool replace_file(const std::string& path, std::string_view bytes) {
  const file_seam& io = current_file_seam();
  const std::string temporary = replacement_temporary_name(path);
  {
    tessarel::unique_kernel_handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
    if (!file.is_open()) return false;
    // The new bytes must be on the disk before the rename is: the file
    // system may otherwise commit the rename first, and a power cut between
    // the two leaves an empty or short file under the old name. Closing the
    // handle or a library-level flush only hands the data to the cache.
    const bool written = write_all(io, file.get(), bytes) && io.flush_file_buffers(file.get());
    if (!file.close() || !written) {
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  // Written through, so that the call returns only when the rename itself is
  // on the disk.
  if (!io.move_file_ex(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace dravik
