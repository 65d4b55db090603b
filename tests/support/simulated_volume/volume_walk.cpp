#include "volume_walk.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace dravik::sim {

namespace {

class walker {
 public:
  walker(volume_io& io, walk_totals& totals) : io_(io), totals_(totals), extents_(3232) {}

  // path holds "X:\dir\" (with the trailing backslash); it is extended and
  // restored in place, so the walk allocates nothing per entry.
  void walk(std::vector<char>& path, size_t length) {
    ++totals_.folders;
    path[length] = '*';
    path[length + 1] = '\0';
    WIN32_FIND_DATAA data;
    const HANDLE search = io_.find_first_file(path.data(), &data);
    if (search == INVALID_HANDLE_VALUE) {
      ++totals_.unreadable;
      return;
    }
    do {
      if (data.cFileName[0] == '.') continue;
      const size_t name_length = std::strlen(data.cFileName);
      if (length + name_length + 2 >= path.size()) continue;
      std::memcpy(path.data() + length, data.cFileName, name_length);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        path[length + name_length] = '\\';
        walk(path, length + name_length + 1);
      } else {
        path[length + name_length] = '\0';
        ++totals_.files;
        examine(path.data());
      }
    } while (io_.find_next_file(search, &data));
    io_.find_close(search);
  }

  size_t buffer_size() const { return extents_.size(); }

 private:
  void examine(const char* path) {
    const HANDLE file = io_.create_file(path, 0, 0, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) {
      ++totals_.refused;
      return;
    }
    ++totals_.opened;
    STARTING_VCN_INPUT_BUFFER start{};
    DWORD returned = 0;
    for (;;) {
      start.StartingVcn.QuadPart = 0;
      if (io_.device_io_control(file, FSCTL_GET_RETRIEVAL_POINTERS, &start, sizeof start,
                                extents_.data(), static_cast<DWORD>(extents_.size()), &returned)) {
        count_extents();
        break;
      }
      const DWORD error = io_.get_last_error();
      if (error == ERROR_MORE_DATA) {
        extents_.resize(extents_.size() + 3200);
        continue;
      }
      if (error == ERROR_HANDLE_EOF) ++totals_.without_clusters;
      break;
    }
    io_.close_handle(file);
  }

  void count_extents() {
    const auto& buffer = *reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(extents_.data());
    LONGLONG vcn = buffer.StartingVcn.QuadPart;
    for (DWORD i = 0; i < buffer.ExtentCount; ++i) {
      ++totals_.extents;
      if (buffer.Extents[i].Lcn.QuadPart == -1) {
        ++totals_.virtual_extents;
      } else {
        totals_.clusters += static_cast<uint64_t>(buffer.Extents[i].NextVcn.QuadPart - vcn);
      }
      vcn = buffer.Extents[i].NextVcn.QuadPart;
    }
  }

  volume_io& io_;
  walk_totals& totals_;
  std::vector<unsigned char> extents_;
};

}  // namespace

walk_totals walk_volume(volume_io& io, char letter) {
  walk_totals totals;
  std::vector<char> path(1000, '\0');
  path[0] = letter;
  path[1] = ':';
  path[2] = '\\';
  walker w(io, totals);
  w.walk(path, 3);
  totals.buffer_bytes = w.buffer_size();
  return totals;
}

}  // namespace dravik::sim
