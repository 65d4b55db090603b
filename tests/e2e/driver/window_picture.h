#pragma once
// What the screen shows of a window, taken from the screen as a person sees
// it (children, dialogs above it and all), for reading colours and for the
// screenshots of the checkpoints. The driver's thread alone.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessarel::e2e {

class window_picture {
 public:
  // The window's rectangle as the screen shows it now, after giving the
  // program time to hand its painting to the display.
  explicit window_picture(HWND hwnd);

  bool empty() const { return pixels_.empty(); }
  // The colour at a point of the window's client area; CLR_INVALID outside.
  COLORREF client_pixel(int x, int y) const;
  // Saves the picture as a PNG file; false when it could not be written.
  bool save_png(const std::wstring& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  POINT client_offset_{};
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, rows top down
};

// Saves what the window shows as screenshots\e2e\<name>.png in the build
// folder. False when it could not be written.
bool save_checkpoint(HWND hwnd, const std::wstring& name);

}  // namespace tessarel::e2e
