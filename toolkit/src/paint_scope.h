#pragma once

#include <windows.h>

namespace vemo {

// BeginPaint on construction, EndPaint on destruction.
class paint_scope {
 public:
  explicit paint_scope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~paint_scope() { EndPaint(hwnd_, &paint_); }

  paint_scope(const paint_scope&) = delete;
  paint_scope& operator=(const paint_scope&) = delete;

  HDC dc() const { return dc_; }
  PAINTSTRUCT& paint() { return paint_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace vemo
