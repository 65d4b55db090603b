#include "vemo/mem_bitmap.h"

namespace vemo {

mem_bitmap::~mem_bitmap() { release(); }

bool mem_bitmap::load(const std::wstring& file_name) {
  // Loading over a loaded record would lose its handles.
  release();
  dc_.reset(CreateCompatibleDC(nullptr));
  bitmap_.reset(static_cast<HBITMAP>(LoadImageW(nullptr, file_name.c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_DEFAULTSIZE | LR_LOADFROMFILE)));
  if (!dc_ || !bitmap_ ||
      GetObjectW(bitmap_.get(), sizeof(description_), &description_) == 0) {
    release();
    return false;
  }
  previous_ = SelectObject(dc_.get(), bitmap_.get());
  return true;
}

void mem_bitmap::blit(const RECT& rect, HDC target) const {
  if (!dc_) return;
  BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_.get(),
         0, 0, SRCCOPY);
}

void mem_bitmap::release() {
  // A bitmap still selected into a context cannot be deleted.
  if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_.get(), previous_);
  bitmap_.reset();
  dc_.reset();
  previous_ = nullptr;
  description_ = BITMAP{};
}

}  // namespace vemo
