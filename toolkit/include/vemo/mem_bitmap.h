#pragma once

#include <windows.h>

#include <string>

#include "vemo/gdi_handles.h"

namespace vemo {

// A .bmp file loaded into a memory device context, ready to be copied onto a
// window. Empty (null handles, zero description) until a load succeeds and
// again after release; it may be loaded again. It owns the device context and
// the bitmap and releases them when it goes.
class mem_bitmap {
 public:
  mem_bitmap() = default;
  ~mem_bitmap();

  mem_bitmap(const mem_bitmap&) = delete;
  mem_bitmap& operator=(const mem_bitmap&) = delete;

  // Loads a bitmap file. Anything that is not a readable .bmp (a missing
  // file, another format, the word "NULL") leaves the record empty: false.
  bool load(const std::wstring& file_name);
  // Copies the bitmap from its origin to the rectangle's top-left corner, in
  // the rectangle's width and height, without stretching.
  void blit(const RECT& rect, HDC target) const;
  // Empties the record; nothing happens to an empty one.
  void release();

  bool loaded() const { return bitmap_.is_open(); }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  const BITMAP& description() const { return description_; }
  int width() const { return description_.bmWidth; }
  int height() const { return description_.bmHeight; }

 private:
  created_dc dc_;
  gdi_object<HBITMAP> bitmap_;
  BITMAP description_{};
  // The device context's own bitmap, put back before the context is deleted.
  HGDIOBJ previous_ = nullptr;
};

}  // namespace vemo
