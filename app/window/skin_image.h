#pragma once
// One image of the skin, decoded once from its file (any format GDI+
// reads) and drawn scaled into a rectangle. GDI+ must be running while an
// image is loaded, drawn or destroyed. User interface thread.

#include <windows.h>

#include <memory>
#include <string>

namespace Gdiplus {
class Bitmap;
}

namespace tessarel {

class skin_image {
 public:
  // An empty image: draws nothing.
  skin_image();
  // Decodes path into memory (the file is not kept open). A file that
  // cannot be read or decoded leaves the image empty.
  explicit skin_image(const std::wstring& path);
  ~skin_image();
  skin_image(skin_image&&) noexcept;
  skin_image& operator=(skin_image&&) noexcept;

  bool empty() const { return !bitmap_; }
  // Pixel size; 0 x 0 when empty.
  SIZE size() const;

  // Draws the whole image stretched over target; empty: nothing.
  void draw(HDC dc, const RECT& target) const;

 private:
  struct bitmap_deleter {
    void operator()(Gdiplus::Bitmap* bitmap) const;
  };
  std::unique_ptr<Gdiplus::Bitmap, bitmap_deleter> bitmap_;
};

}  // namespace tessarel
