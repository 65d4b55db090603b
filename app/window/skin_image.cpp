#include "window/skin_image.h"

#include "map/gdiplus_api.h"

namespace tessarel {

void skin_image::bitmap_deleter::operator()(Gdiplus::Bitmap* bitmap) const { delete bitmap; }

skin_image::skin_image() = default;
skin_image::~skin_image() = default;
// A moved image is scaled again where it is drawn next.
skin_image::skin_image(skin_image&& other) noexcept : bitmap_(std::move(other.bitmap_)) {
  other.scaled_.clear();
}

skin_image& skin_image::operator=(skin_image&& other) noexcept {
  if (this != &other) {
    scaled_.clear();
    other.scaled_.clear();
    bitmap_ = std::move(other.bitmap_);
  }
  return *this;
}

// A bitmap made from a file keeps the file open and locked while it lives;
// the image is copied into one of its own and the file let go at once.
skin_image::skin_image(const std::wstring& path) {
  Gdiplus::Bitmap file(path.c_str());
  if (file.GetLastStatus() != Gdiplus::Ok) return;
  const UINT width = file.GetWidth(), height = file.GetHeight();
  if (width == 0 || height == 0) return;
  std::unique_ptr<Gdiplus::Bitmap, bitmap_deleter> copy(
      new Gdiplus::Bitmap(static_cast<INT>(width), static_cast<INT>(height),
                          PixelFormat32bppPARGB));
  if (copy->GetLastStatus() != Gdiplus::Ok) return;
  {
    Gdiplus::Graphics graphics(copy.get());
    if (graphics.DrawImage(&file, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) !=
        Gdiplus::Ok)
      return;
  }
  bitmap_ = std::move(copy);
}

SIZE skin_image::size() const {
  if (!bitmap_) return {0, 0};
  return {static_cast<LONG>(bitmap_->GetWidth()), static_cast<LONG>(bitmap_->GetHeight())};
}

void skin_image::draw(HDC dc, const RECT& target) const {
  if (!bitmap_) return;
  const int target_width = target.right - target.left;
  const int target_height = target.bottom - target.top;
  RECT clip{}, part{};
  const int clip_kind = GetClipBox(dc, &clip);
  if (clip_kind == ERROR) clip = target;
  if (target_width <= 0 || target_height <= 0 || clip_kind == NULLREGION ||
      !IntersectRect(&part, &target, &clip))
    return;
  if (scaled_.size.cx != target_width || scaled_.size.cy != target_height)
    scale_to(target_width, target_height);
  if (!scaled_.dc) return;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const int width = part.right - part.left, height = part.bottom - part.top;
  GdiAlphaBlend(dc, part.left, part.top, width, height, scaled_.dc.get(), part.left - target.left,
             part.top - target.top, width, height, blend);
}

void skin_image::scale_to(int width, int height) const {
  scaled_.clear();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};  // top-down
  void* bits = nullptr;
  scaled_.dib.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  scaled_.dc.reset(CreateCompatibleDC(nullptr));
  if (!scaled_.dib || !scaled_.dc || !bits) {
    scaled_.clear();
    return;
  }
  scaled_.selected = std::make_unique<vemo::selected_object>(scaled_.dc.get(), scaled_.dib.get());
  {
    // GDI+ draws straight into the section's premultiplied pixels.
    Gdiplus::Bitmap pixels(width, height, width * 4, PixelFormat32bppPARGB,
                           static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&pixels);
    graphics.DrawImage(bitmap_.get(), Gdiplus::Rect(0, 0, width, height));
  }
  GdiFlush();
  scaled_.size = {width, height};
}

}  // namespace tessarel
