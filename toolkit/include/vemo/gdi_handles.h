#pragma once
// Owners of GDI handles: each deletes its handle when it goes, and none can
// be copied.

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace vemo {

// A font, brush, pen, bitmap or region, deleted with DeleteObject. It must
// no longer be selected into a device context by then.
template <class Handle>
using gdi_object = tessarel::unique_gdi_object<Handle>;

// A device context made with CreateDCW or CreateCompatibleDC, deleted with
// DeleteDC.
using created_dc = tessarel::unique_created_dc;

// Selects an object into a device context and puts the previous one back.
class selected_object {
 public:
  selected_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~selected_object() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

  selected_object(const selected_object&) = delete;
  selected_object& operator=(const selected_object&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's device context (GetDC), released when it goes.
class window_dc {
 public:
  explicit window_dc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~window_dc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Keeps a device context's drawing state (font, colours, alignment, mode)
// and puts it back when it goes, so one painter leaves nothing to the next.
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

}  // namespace vemo
