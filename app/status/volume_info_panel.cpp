#include "status/volume_info_panel.h"

#include <climits>
#include <utility>

#include "engine/engine_binding.h"
#include "vemo/gdi_handles.h"
#include "status/volume_info_lines.h"

namespace tessarel {
namespace {

int measured_line_height(HFONT font) {
  const vemo::created_dc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return 0;
  const vemo::selected_object selected(display.get(), font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(display.get(), &metrics)) return 0;
  return metrics.tmHeight;
}

volume_info_panel the_volume_info_panel;

}  // namespace

volume_info_panel::volume_info_panel()
    : font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
      line_height_(measured_line_height(font_)) {}

void volume_info_panel::set_lines(POINT origin, std::vector<std::wstring> lines) {
  const std::lock_guard<std::mutex> guard(lock_);
  origin_ = origin;
  lines_ = std::move(lines);
}

std::vector<std::wstring> volume_info_panel::lines() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return lines_;
}

POINT volume_info_panel::origin() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return origin_;
}

void volume_info_panel::paint(HDC dc) const {
  std::vector<std::wstring> shown;
  POINT at{};
  {
    const std::lock_guard<std::mutex> guard(lock_);
    shown = lines_;
    at = origin_;
  }
  const vemo::saved_dc_state saved(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SelectObject(dc, font_);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const std::wstring& line = shown[i];
    const int top = at.y + static_cast<int>(i) * line_height_;
    // A repaint of a strip elsewhere (the status lines, every tick) skips it.
    const RECT band{at.x, top, SHRT_MAX, top + line_height_};
    if (!RectVisible(dc, &band)) continue;
    TextOutW(dc, at.x, top, line.c_str(), static_cast<int>(line.size()));
  }
}

volume_info_panel& program_volume_info() { return the_volume_info_panel; }

void build_volume_info_lines(POINT position, volume_info_panel& panel, wchar_t letter,
                             const engine_binding& binding) {
  // The engine's record is its own and rewritten by the next call: the lines
  // are made from it at once, then handed to the panel whole.
  const VolumeInfo* info = binding.entry_points().get_volume_info(static_cast<int>(letter & 0xFF));
  panel.set_lines(position, volume_info_lines(info, letter));
}

}  // namespace tessarel
