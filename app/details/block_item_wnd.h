#pragma once
// The small borderless window that shows the details of one selected line of
// the detail list, on a light background with a close cross at its top right.
// The owner creates it as a child, gives it lines, sizes it to
// preferred_size and shows it; a click on the cross hides it. User interface
// thread only.

#include <windows.h>

#include <string>
#include <vector>

#include "vemo/frame.h"

namespace tessarel {

class block_item_wnd : public vemo::frame {
 public:
  // Window class "block_item_wnd".
  block_item_wnd();
  ~block_item_wnd() override = default;

  // The lines shown from the next paint on.
  void set_lines(std::vector<std::wstring> lines);
  const std::vector<std::wstring>& lines() const noexcept { return lines_; }

  // The size that shows every line in the window's font: the longest line's
  // width + 8, and (line height + 4) per line + 4. Measured on the window's
  // device context (the screen's without a window); no lines give 8 by 4.
  SIZE preferred_size() const;

  // Where the close cross lies, from the last size message.
  const RECT& cross_rect() const noexcept { return cross_; }

  void on_size(WPARAM type, int width, int height) override;
  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;

 private:
  std::vector<std::wstring> lines_;
  RECT client_{};
  RECT cross_{};
  HFONT font_;  // stock: never deleted
  COLORREF background_ = RGB(238, 248, 174);
};

}  // namespace tessarel
