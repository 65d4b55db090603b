#pragma once
// The drives of the machine as the program lists them. The two system
// queries go through a seam, so that tests can give any set of drives.
// User interface thread.

#include <windows.h>

#include <vector>

namespace tessarel {

class drive_query {
 public:
  virtual ~drive_query() = default;
  // GetLogicalDrives: bit i set for drive 'A' + i.
  virtual DWORD logical_drives() = 0;
  // GetDriveTypeW of a root such as "C:\".
  virtual UINT drive_type(const wchar_t* root) = 0;
};

// The queries in use: the system's unless a test installed others.
drive_query& current_drive_query();
// Installs query (null puts the system's back) and returns the one replaced.
drive_query* install_drive_query(drive_query* query);

// Appends 'A' + i for every set bit i of the logical drives, from bit 0 up.
void list_logical_drives(std::vector<wchar_t>& letters);

// Appends, in ascending order, every logical drive whose root is a fixed
// drive; removable, optical and network drives never appear.
void list_fixed_drives(std::vector<wchar_t>& letters);

}  // namespace tessarel
