#pragma once
// The file system's WOW64 redirection turned off for the calling thread for
// the life of the object, so that a 32-bit engine on 64-bit Windows walks,
// opens and moves the real system files, not the 32-bit stand-ins the
// redirection shows in their place.
//
// Only around the walks, the moves and the file queries: nothing that loads
// code (a DLL from the system folder would then be the 64-bit one) or shows a
// dialog may run while it is off. One per walk or query, never one per file.
// Where the platform does not redirect (a 64-bit process, 32-bit Windows)
// the disable fails and nothing changes.

#include "platform/volume_io.h"

namespace dravik {

class redirection_off {
 public:
  explicit redirection_off(volume_io& io = current_volume_io()) noexcept : io_(io) {
    off_ = io_.disable_fs_redirection(&old_value_) != FALSE;
  }
  ~redirection_off() {
    if (off_) io_.revert_fs_redirection(old_value_);
  }
  redirection_off(const redirection_off&) = delete;
  redirection_off& operator=(const redirection_off&) = delete;

  // Whether the disable took effect (and the destructor reverts it).
  bool turned_off() const noexcept { return off_; }

 private:
  volume_io& io_;
  // The platform's own value; null is one of its valid values.
  void* old_value_ = nullptr;
  bool off_ = false;
};

}  // namespace dravik
