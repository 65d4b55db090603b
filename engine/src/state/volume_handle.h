#pragma once
// A volume or file handle from current_volume_io(), closed through it.

#include <windows.h>

#include "platform/volume_io.h"
#include "tessarel/unique_handle.h"

namespace dravik {

// get() is 0 when none is open (INVALID_HANDLE_VALUE is kept as 0): a slot's
// volume has a map exactly when its handle is not 0.
struct volume_handle_traits : tessarel::null_or_invalid_means_none {
  static bool close(HANDLE handle) noexcept {
    return current_volume_io().close_handle(handle) != FALSE;
  }
};
using volume_handle = tessarel::unique_handle<volume_handle_traits>;

}  // namespace dravik
