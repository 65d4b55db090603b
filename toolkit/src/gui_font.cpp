#include "vemo/gui_font.h"

#include "vemo/gdi_handles.h"

namespace vemo {

gui_font::gui_font() : font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
  const created_dc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!display.get()) return;
  const selected_object font(display.get(), font_);
  GetTextMetricsW(display.get(), &metrics_);
}

gui_font::~gui_font() { release(); }

void gui_font::release() {
  if (!owned_font_) return;
  owned_font_.reset();
  font_ = nullptr;
}

}  // namespace vemo
