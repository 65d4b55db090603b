#include "vemo/mem_bitmap.h"

namespace vemo {

mem_bitmap::~mem_bitmap() { release(); }

bool mem_bitmap::load(const std::wstring& file_name) {
  // Loading over a loaded record would lose its handles.
  release();
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = static_cast<HBITMAP>(LoadImageW(nullptr, file_name.c_str(), IMAGE_BITMAP, 0, 0,
                                            LR_DEFAULTSIZE | LR_LOADFROMFILE));
  if (!dc_ || !bitmap_ || GetObjectW(bitmap_, sizeof(description_), &description_) == 0) {
    release();
    return false;
  }
  previous_ = SelectObject(dc_, bitmap_);
  return true;
}

void mem_bitmap::blit(const RECT& rect, HDC target) const {
  if (!dc_) return;
  BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, 0, 0,
         SRCCOPY);
}

void mem_bitmap::release() {
  // A bitmap still selected into a context cannot be deleted.
  if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  description_ = BITMAP{};
}

}  // namespace vemo
