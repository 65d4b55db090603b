#pragma once
// Owners of GDI handles: each deletes its handle when it goes, and none can
// be copied.

#include <windows.h>

namespace vemo {

// A font, brush, pen, bitmap or region, deleted with DeleteObject. It must
// no longer be selected into a device context by then.
template <class Handle>
class gdi_object {
 public:
  explicit gdi_object(Handle handle = nullptr) : handle_(handle) {}
  ~gdi_object() { reset(); }

  gdi_object(const gdi_object&) = delete;
  gdi_object& operator=(const gdi_object&) = delete;

  Handle get() const { return handle_; }
  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_;
};

// A device context made with CreateDCW or CreateCompatibleDC, deleted with
// DeleteDC.
class created_dc {
 public:
  explicit created_dc(HDC dc) : dc_(dc) {}
  ~created_dc() {
    if (dc_) DeleteDC(dc_);
  }

  created_dc(const created_dc&) = delete;
  created_dc& operator=(const created_dc&) = delete;

  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

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

}  // namespace vemo
