#include "details/block_item_wnd.h"

#include <utility>

#include "details/longest_line.h"
#include "vemo/gdi_handles.h"

namespace tessarel {

using vemo::window_dc;

namespace {
constexpr int margin = 4;  // around the text, and between lines
constexpr COLORREF cross_colour = RGB(255, 255, 255);

SIZE text_extent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace

block_item_wnd::block_item_wnd()
    : frame(L"block_item_wnd", CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr, nullptr),
      font_(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT))) {}

void block_item_wnd::set_lines(std::vector<std::wstring> lines) { lines_ = std::move(lines); }

SIZE block_item_wnd::preferred_size() const {
  const auto longest = longest_line(lines_.begin(), lines_.end());
  if (longest == lines_.end()) return SIZE{2 * margin, margin};
  const window_dc dc(handle());
  const vemo::selected_object font(dc.get(), font_);
  const SIZE text = text_extent(dc.get(), *longest);
  return SIZE{text.cx + 2 * margin, static_cast<LONG>(lines_.size()) * (text.cy + margin) + margin};
}

void block_item_wnd::on_size(WPARAM, int width, int height) {
  client_ = RECT{0, 0, width, height};
  cross_ = RECT{width - 13, 1, width - 3, 11};
}

void block_item_wnd::on_paint(HDC dc, PAINTSTRUCT&) {
  {
    const vemo::gdi_object<HBRUSH> brush(CreateSolidBrush(background_));
    FillRect(dc, &client_, brush.get());
    const vemo::gdi_object<HPEN> pen(CreatePen(PS_SOLID, 2, cross_colour));
    const vemo::selected_object selected(dc, pen.get());
    MoveToEx(dc, cross_.left, cross_.top, nullptr);
    LineTo(dc, cross_.right, cross_.bottom);
    MoveToEx(dc, cross_.right, cross_.top, nullptr);
    LineTo(dc, cross_.left, cross_.bottom);
  }
  const vemo::selected_object font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  const int step = text_extent(dc, L"A").cy + margin;
  int y = margin;
  for (const std::wstring& line : lines_) {
    TextOutW(dc, margin, y, line.c_str(), static_cast<int>(line.size()));
    y += step;
  }
}

void block_item_wnd::on_lbutton_down(WPARAM, WORD x, WORD y) {
  if (PtInRect(&cross_, POINT{x, y})) ShowWindow(handle(), SW_HIDE);
}

}  // namespace tessarel
