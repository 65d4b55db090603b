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

}  // namespace vemo
