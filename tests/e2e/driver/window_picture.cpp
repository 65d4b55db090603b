#include "driver/window_picture.h"

#include <algorithm>

// GDI+'s headers use min and max unqualified.
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include "driver/e2e_files.h"
#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

namespace {

const CLSID png_encoder = {0x557cf406, 0x1a04, 0x11d3,
                           {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// Wine hands another process's painting to the display while that
// process's thread waits for messages, at most every 50 ms.
constexpr DWORD display_flush_ms = 150;

class screen_dc {
 public:
  screen_dc() : dc_(GetDC(nullptr)) {}
  ~screen_dc() { ReleaseDC(nullptr, dc_); }
  screen_dc(const screen_dc&) = delete;
  screen_dc& operator=(const screen_dc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

window_picture::window_picture(HWND hwnd) {
  Sleep(display_flush_ms);
  RECT rect{};
  if (!GetWindowRect(hwnd, &rect)) return;
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  client_offset_ = {client.x - rect.left, client.y - rect.top};
  width_ = rect.right - rect.left;
  height_ = rect.bottom - rect.top;
  if (width_ <= 0 || height_ <= 0) return;

  const screen_dc screen;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const unique_gdi_object<HBITMAP> bitmap(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const unique_created_dc memory(CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory || bits == nullptr) return;
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), rect.left, rect.top, SRCCOPY);
  SelectObject(memory.get(), previous);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  pixels_.assign(first, first + static_cast<size_t>(width_) * height_);
}

COLORREF window_picture::client_pixel(int x, int y) const {
  x += client_offset_.x;
  y += client_offset_.y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const std::uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool window_picture::save_png(const std::wstring& path) const {
  if (empty()) return false;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool saved = false;
  std::vector<std::uint32_t> opaque(pixels_);
  for (std::uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  Gdiplus::GpBitmap* image = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width_, height_, width_ * 4,
                                                     PixelFormat32bppARGB,
                                                     reinterpret_cast<BYTE*>(opaque.data()),
                                                     &image) == Gdiplus::Ok) {
    saved = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &png_encoder,
                                                     nullptr) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(image);
  }
  Gdiplus::GdiplusShutdown(token);
  return saved;
}

bool save_checkpoint(HWND hwnd, const std::wstring& name) {
  return window_picture(hwnd).save_png(screenshot_folder() + L"\\" + name + L".png");
}

}  // namespace tessarel::e2e
