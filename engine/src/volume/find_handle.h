#pragma once
// A directory search from current_volume_io().find_first_file, closed
// through it. INVALID_HANDLE_VALUE is kept as "no search".

#include <windows.h>

#include "platform/volume_io.h"
#include "tessarel/unique_handle.h"

namespace dravik {

struct find_handle_traits : tessarel::null_or_invalid_means_none {
  static bool close(HANDLE find) noexcept { return current_volume_io().find_close(find) != FALSE; }
};
using find_handle = tessarel::unique_handle<find_handle_traits>;

}  // namespace dravik
