#pragma once
// A directory search from current_volume_io().find_first_file, closed
// through it.

#include <windows.h>

#include "platform/volume_io.h"

namespace dravik {

class find_handle {
 public:
  // Takes over the result of find_first_file; INVALID_HANDLE_VALUE is kept
  // as "no search".
  explicit find_handle(HANDLE handle) noexcept : handle_(handle) {}
  ~find_handle() {
    if (is_open()) current_volume_io().find_close(handle_);
  }
  find_handle(const find_handle&) = delete;
  find_handle& operator=(const find_handle&) = delete;

  HANDLE get() const noexcept { return handle_; }
  bool is_open() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

 private:
  HANDLE handle_;
};

}  // namespace dravik
