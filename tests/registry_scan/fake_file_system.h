#pragma once
// The scanner's file-system seam over a table, so the path checks can meet
// what a test machine has none of: drives that are not fixed, errors other
// than "not found", a 32-bit process on 64-bit Windows. Paths the table does
// not name are looked up on the real file system (the sandbox's scratch
// folder) when forward is set, else they are not found. Every look records
// the thread's error mode, so a test sees whether critical-error boxes were
// off.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "regscan/file_system_seam.h"

namespace regscan::testing {

struct fake_file_system {
  std::map<wchar_t, UINT> drive_types;                   // by upper-case letter; default fixed
  std::map<std::wstring, DWORD> attributes;              // present paths, backslashed
  std::map<std::wstring, DWORD> errors;                  // paths that fail with this error
  bool forward = false;
  bool wow64 = false;
  std::map<std::wstring, std::wstring> environment;     // only these are set

  std::vector<std::wstring> looked_at;
  std::vector<DWORD> error_modes;
};

// Installs fake as the seam while it lives; puts the previous one back.
class fake_file_system_scope {
 public:
  explicit fake_file_system_scope(fake_file_system& fake);
  ~fake_file_system_scope();
  fake_file_system_scope(const fake_file_system_scope&) = delete;
  fake_file_system_scope& operator=(const fake_file_system_scope&) = delete;

 private:
  file_system_seam previous_;
};

}  // namespace regscan::testing
