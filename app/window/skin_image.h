#pragma once
// One image of the skin, decoded once from its file (any format GDI+
// reads) and drawn scaled into a rectangle. GDI+ must be running while an
// image is loaded, drawn or destroyed. User interface thread.

#include <windows.h>

#include <memory>
#include <string>

#include "vemo/gdi_handles.h"

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

  // Draws the whole image stretched over target, blended by its alpha;
  // empty: nothing. The image is scaled once per target size and kept, and
  // only the part within dc's clip box is copied, so repainting a strip
  // costs a strip.
  void draw(HDC dc, const RECT& target) const;

 private:
  struct bitmap_deleter {
    void operator()(Gdiplus::Bitmap* bitmap) const;
  };
  // The image at one target size, premultiplied, ready for GdiAlphaBlend. It
  // is let go only through clear() (or its destructor), which takes the
  // section out of the device context before either is deleted: a bitmap
  // still selected cannot be deleted. Not assignable, so no member-wise
  // assignment deletes them in the wrong order.
  struct scaled_copy {
    scaled_copy() = default;
    ~scaled_copy() { clear(); }
    scaled_copy(const scaled_copy&) = delete;
    scaled_copy& operator=(const scaled_copy&) = delete;
    void clear() noexcept {
      selected.reset();
      dc.reset();
      dib.reset();
      size = {};
    }

    vemo::gdi_object<HBITMAP> dib;
    vemo::created_dc dc;
    std::unique_ptr<vemo::selected_object> selected;
    SIZE size{};
  };
  void scale_to(int width, int height) const;

  std::unique_ptr<Gdiplus::Bitmap, bitmap_deleter> bitmap_;
  mutable scaled_copy scaled_;
};

}  // namespace tessarel
