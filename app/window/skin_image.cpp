#include "window/skin_image.h"

#include "map/gdiplus_api.h"

namespace tessarel {

void skin_image::bitmap_deleter::operator()(Gdiplus::Bitmap* bitmap) const { delete bitmap; }

skin_image::skin_image() = default;
skin_image::~skin_image() = default;
skin_image::skin_image(skin_image&&) noexcept = default;
skin_image& skin_image::operator=(skin_image&&) noexcept = default;

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
  Gdiplus::Graphics graphics(dc);
  graphics.DrawImage(bitmap_.get(),
                     Gdiplus::Rect(target.left, target.top, target.right - target.left,
                                   target.bottom - target.top));
}

}  // namespace tessarel
