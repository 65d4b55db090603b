#include "fake_file_system.h"

#include <cwctype>

namespace regscan::testing {

namespace {

fake_file_system* active = nullptr;

DWORD fake_attributes(const wchar_t* asked) {
  active->looked_at.push_back(asked);
  active->error_modes.push_back(GetThreadErrorMode());
  // The system reads "/" as a backslash.
  std::wstring path = asked;
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  const auto present = active->attributes.find(path);
  if (present != active->attributes.end()) return present->second;
  const auto failing = active->errors.find(path);
  if (failing != active->errors.end()) {
    SetLastError(failing->second);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (active->forward) return GetFileAttributesW(asked);
  SetLastError(ERROR_FILE_NOT_FOUND);
  return INVALID_FILE_ATTRIBUTES;
}

BOOL no_redirection(void**) { return FALSE; }
BOOL no_revert(void*) { return FALSE; }

UINT fake_drive_type(const wchar_t* root) {
  const auto type = active->drive_types.find(static_cast<wchar_t>(std::towupper(root[0])));
  return type == active->drive_types.end() ? DRIVE_FIXED : type->second;
}

bool fake_wow64() { return active->wow64; }

std::wstring fake_environment(const wchar_t* name) {
  const auto value = active->environment.find(name);
  return value == active->environment.end() ? std::wstring() : value->second;
}

}  // namespace

fake_file_system_scope::fake_file_system_scope(fake_file_system& fake) {
  active = &fake;
  previous_ = install_file_system({&fake_attributes, &no_redirection, &no_revert, &fake_drive_type,
                                   &fake_wow64, &fake_environment});
}

fake_file_system_scope::~fake_file_system_scope() {
  install_file_system(previous_);
  active = nullptr;
}

}  // namespace regscan::testing
