#include "window/main_window_start.h"

#include "window/main_wnd_layout.h"

namespace tessarel {

POINT centred_origin(int screen_width, int screen_height, int width, int height) {
  return {(screen_width - width) / 2, (screen_height - height) / 2};
}

bool create_main_window(vemo::window& main) {
  vemo::window::create_top_level(main, L"", WS_SYSMENU | WS_MINIMIZEBOX);
  const HWND hwnd = main.handle();
  if (hwnd == nullptr) return false;

  const POINT origin = centred_origin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                      main_window_width, main_window_height);
  MoveWindow(hwnd, origin.x, origin.y, main_window_width, main_window_height, TRUE);

  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  SetWindowLongW(hwnd, GWL_STYLE, style & ~static_cast<LONG>(WS_CAPTION));

  // The window owns the region from here on.
  const HRGN corners = CreateRoundRectRgn(0, 0, main_window_width, main_window_height,
                                          main_window_corner, main_window_corner);
  if (corners && !SetWindowRgn(hwnd, corners, TRUE)) DeleteObject(corners);

  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  return true;
}

}  // namespace tessarel
