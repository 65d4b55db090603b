#pragma once
// A volume or file handle from current_volume_io(), closed through it.

#include <windows.h>

#include "platform/volume_io.h"

namespace dravik {

class volume_handle {
 public:
  volume_handle() = default;
  ~volume_handle() { close(); }
  volume_handle(const volume_handle&) = delete;
  volume_handle& operator=(const volume_handle&) = delete;

  // The handle, or 0 when none is open. A slot's volume has a map exactly
  // when its handle is not 0.
  HANDLE get() const noexcept { return handle_; }
  bool is_open() const noexcept { return handle_ != nullptr; }

  // Takes over an open handle; INVALID_HANDLE_VALUE is kept as 0.
  void reset(HANDLE handle) noexcept {
    close();
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
  }

  void close() noexcept {
    if (handle_ != nullptr) current_volume_io().close_handle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace dravik
