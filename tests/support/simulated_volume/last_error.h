#pragma once
// The simulator's GetLastError: one value per thread, shared by every
// simulated_volume as the platform's is shared by every call.

#include <windows.h>

namespace dravik::sim {

DWORD last_error();
void set_last_error(DWORD error);

// Records error as the last error and returns FALSE, for BOOL results.
inline BOOL fail(DWORD error) {
  set_last_error(error);
  return FALSE;
}

// Records error as the last error and returns INVALID_HANDLE_VALUE.
inline HANDLE fail_handle(DWORD error) {
  set_last_error(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace dravik::sim
