#pragma once
// A window of the main window's size (804 x 632, white) that lays out and
// paints a status panel and a volume information panel as the main window
// does, with helpers that read back what it shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "status/status_panel.h"
#include "status/volume_info_panel.h"
#include "vemo/frame.h"

namespace tessarel::testing {

class status_host : public vemo::frame {
 public:
  status_host()
      : frame(unique_class_name(L"status_host"), 0, nullptr, nullptr,
              static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr) {}
  void on_size(WPARAM, int width, int height) override { panel.layout(width - 10, height); }
  void on_paint(HDC dc, PAINTSTRUCT&) override {
    volume_lines.paint(dc);
    panel.paint(dc);
  }

  status_panel panel;
  volume_info_panel volume_lines;
};

class status_window_test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 804, 632}, nullptr, nullptr),
              nullptr);
    pump_messages();
  }

  void repaint_all() {
    InvalidateRect(window.handle(), nullptr, TRUE);
    UpdateWindow(window.handle());
  }

  // The client pixels of r, row by row.
  std::vector<COLORREF> capture(const RECT& r) {
    UpdateWindow(window.handle());
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = GetDC(window.handle());
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<const DWORD*>(bits),
                                 static_cast<const DWORD*>(bits) + width * height);
    for (COLORREF& p : pixels) p &= 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window.handle(), dc);
    return pixels;
  }

  // Whether anything but the white background shows in r.
  bool has_ink(const RECT& r) {
    for (const COLORREF p : capture(r)) {
      if (p != 0xFFFFFF) return true;
    }
    return false;
  }

  // The cell a right-aligned text of the panel's font takes at pos.
  RECT text_cell(POINT pos, const std::wstring& text) {
    const HDC dc = GetDC(window.handle());
    const HGDIOBJ previous = SelectObject(dc, window.panel.font().font());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window.handle(), dc);
    const RECT cell{pos.x - size.cx, pos.y, pos.x, pos.y + size.cy};
    // Only what lies inside the client area can show.
    RECT client{};
    GetClientRect(window.handle(), &client);
    RECT shown{};
    IntersectRect(&shown, &cell, &client);
    return shown;
  }

  // Whether every pixel of r lies in the panel's update region.
  bool region_covers(const RECT& r) {
    const HRGN cell = CreateRectRgnIndirect(&r);
    const HRGN outside = CreateRectRgn(0, 0, 0, 0);
    const int kind = CombineRgn(outside, cell, window.panel.update_region(), RGN_DIFF);
    DeleteObject(outside);
    DeleteObject(cell);
    return kind == NULLREGION;
  }

  status_host window;
};

}  // namespace tessarel::testing
