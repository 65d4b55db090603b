#pragma once
// A set of drives for the program's drive queries, installed for the life of
// the object.

#include <windows.h>

#include <map>

#include "volumes/fixed_drives.h"

namespace tessarel::testing {

class fake_drives final : public drive_query {
 public:
  // Drive letter to drive type.
  explicit fake_drives(std::map<wchar_t, UINT> drives)
      : drives_(std::move(drives)), previous_(install_drive_query(this)) {}
  ~fake_drives() override { install_drive_query(previous_); }
  fake_drives(const fake_drives&) = delete;
  fake_drives& operator=(const fake_drives&) = delete;

  DWORD logical_drives() override {
    DWORD bits = 0;
    for (const auto& drive : drives_) bits |= DWORD{1} << (drive.first - L'A');
    return bits;
  }
  UINT drive_type(const wchar_t* root) override {
    const auto drive = drives_.find(root[0]);
    return drive == drives_.end() ? DRIVE_NO_ROOT_DIR : drive->second;
  }

 private:
  std::map<wchar_t, UINT> drives_;
  drive_query* previous_;
};

// A removable A:, fixed C:, a CD-ROM D:, fixed E: and a network Z:.
inline std::map<wchar_t, UINT> mixed_drives() {
  return {{L'A', DRIVE_REMOVABLE}, {L'C', DRIVE_FIXED}, {L'D', DRIVE_CDROM},
          {L'E', DRIVE_FIXED},     {L'Z', DRIVE_REMOTE}};
}

}  // namespace tessarel::testing
