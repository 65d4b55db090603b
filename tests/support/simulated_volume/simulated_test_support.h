#pragma once
// Shared helpers of the simulator's tests: a small volume and thin wrappers
// that call the seam the way the engine does and keep what came back.

#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "simulated_volume/simulated_volume.h"

namespace dravik::sim {

inline bool operator==(const file_run& a, const file_run& b) {
  return a.lcn == b.lcn && a.length == b.length;
}

inline std::ostream& operator<<(std::ostream& out, const file_run& run) {
  return out << "{" << run.lcn << ", " << run.length << "}";
}

}  // namespace dravik::sim

namespace dravik::sim::testing {

// A small NTFS volume with 4 KiB clusters whose moves are checked cluster by
// cluster.
inline volume_geometry small_ntfs(uint64_t clusters = 1000) {
  volume_geometry geometry;
  geometry.total_clusters = clusters;
  geometry.label = "SYSTEM";
  geometry.track_contents = true;
  return geometry;
}

inline volume_geometry small_fat(uint64_t clusters = 1000) {
  volume_geometry geometry = small_ntfs(clusters);
  geometry.file_system = "FAT32";
  geometry.label = "DATA";
  return geometry;
}

// What one DeviceIoControl gave back.
struct control_result {
  BOOL ok = FALSE;
  DWORD error = 0;  // GetLastError when ok is FALSE
  DWORD returned = 0;
  std::vector<unsigned char> buffer;
};

inline control_result control(volume_io& io, HANDLE device, DWORD code, LONGLONG start,
                              DWORD out_size) {
  control_result result;
  result.buffer.assign(out_size, 0xCD);
  LARGE_INTEGER input;
  input.QuadPart = start;
  result.ok =
      io.device_io_control(device, code, &input, sizeof input,
                           out_size ? result.buffer.data() : nullptr, out_size, &result.returned);
  if (!result.ok) result.error = io.get_last_error();
  return result;
}

inline control_result read_bitmap(volume_io& io, HANDLE volume, LONGLONG start, DWORD out_size) {
  return control(io, volume, FSCTL_GET_VOLUME_BITMAP, start, out_size);
}

inline control_result read_extents(volume_io& io, HANDLE file, LONGLONG start, DWORD out_size) {
  return control(io, file, FSCTL_GET_RETRIEVAL_POINTERS, start, out_size);
}

inline const VOLUME_BITMAP_BUFFER& as_bitmap(const control_result& result) {
  return *reinterpret_cast<const VOLUME_BITMAP_BUFFER*>(result.buffer.data());
}

inline const RETRIEVAL_POINTERS_BUFFER& as_extents(const control_result& result) {
  return *reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(result.buffer.data());
}

// The runs a retrieval-pointer answer describes, as (lcn, length).
inline std::vector<std::pair<int64_t, uint64_t>> runs_in(const control_result& result) {
  const RETRIEVAL_POINTERS_BUFFER& buffer = as_extents(result);
  std::vector<std::pair<int64_t, uint64_t>> runs;
  int64_t start = buffer.StartingVcn.QuadPart;
  for (DWORD i = 0; i < buffer.ExtentCount; ++i) {
    runs.emplace_back(buffer.Extents[i].Lcn.QuadPart,
                      static_cast<uint64_t>(buffer.Extents[i].NextVcn.QuadPart - start));
    start = buffer.Extents[i].NextVcn.QuadPart;
  }
  return runs;
}

struct move_result {
  BOOL ok = FALSE;
  DWORD error = 0;
};

inline move_result move_clusters(volume_io& io, HANDLE volume, HANDLE file, LONGLONG vcn,
                                 LONGLONG lcn, DWORD count) {
  MOVE_FILE_DATA data{};
  data.FileHandle = file;
  data.StartingVcn.QuadPart = vcn;
  data.StartingLcn.QuadPart = lcn;
  data.ClusterCount = count;
  DWORD returned = 0;
  move_result result;
  result.ok =
      io.device_io_control(volume, FSCTL_MOVE_FILE, &data, sizeof data, nullptr, 0, &returned);
  if (!result.ok) result.error = io.get_last_error();
  return result;
}

// Opens like the engine: a volume with GENERIC_EXECUTE and shared read and
// write, a file with no access and no sharing.
inline HANDLE open_volume(volume_io& io, const char* name) {
  return io.create_file(name, GENERIC_EXECUTE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL);
}

inline HANDLE open_file(volume_io& io, const char* name) {
  return io.create_file(name, 0, 0, OPEN_EXISTING, 0);
}

}  // namespace dravik::sim::testing
