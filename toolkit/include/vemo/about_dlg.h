#pragma once

#include <windows.h>

#include "vemo/image_dlg.h"

namespace vemo {

// The about box, a skinned dialog whose first button (control id 0) closes
// it; every other command is left unhandled. The object may be run again and
// again. User interface thread only.
class about_dlg : public image_dlg {
 public:
  using image_dlg::image_dlg;
  INT_PTR on_command(int code, int id, HWND control) override;
};

}  // namespace vemo
