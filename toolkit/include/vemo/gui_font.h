#pragma once

#include <windows.h>

#include "vemo/gdi_handles.h"

namespace vemo {

// The stock default GUI font with its metrics on the display. The stock font
// is never deleted.
class gui_font {
 public:
  gui_font();
  ~gui_font();

  gui_font(const gui_font&) = delete;
  gui_font& operator=(const gui_font&) = delete;

  // Deletes the font only when this holder owns it.
  void release();

  HFONT font() const { return font_; }
  const TEXTMETRICW& metrics() const { return metrics_; }
  bool owned() const { return owned_font_.is_open(); }

 private:
  HFONT font_;
  TEXTMETRICW metrics_{};
  // Holds font_ when it is not the stock font.
  gdi_object<HFONT> owned_font_;
};

}  // namespace vemo
