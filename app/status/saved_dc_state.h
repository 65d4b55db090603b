#pragma once
// Keeps a device context's drawing state (font, colours, alignment, mode)
// and puts it back when it goes, so one painter leaves nothing to the next.

#include <windows.h>

namespace tessarel {

class saved_dc_state {
 public:
  explicit saved_dc_state(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~saved_dc_state() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  saved_dc_state(const saved_dc_state&) = delete;
  saved_dc_state& operator=(const saved_dc_state&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace tessarel
