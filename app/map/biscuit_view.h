#pragma once
// The round cluster map as a draggable window: 2565 blocks in 25 rings, each
// filled with its colour code's palette colour from the process's map
// surface. The main window derives from it. Everything here runs on the
// thread that constructed the view (the user interface thread); workers hand
// their codes over to it (debug builds assert this).

#include <windows.h>

#include <cstdint>
#include <vector>

#include "map/biscuit_layout.h"
#include "vemo/movable_widget.h"

namespace tessarel {

class biscuit_view : public vemo::movable_widget_t {
 public:
  // The window class "__biscuit_view_class_name__" with the given class icon;
  // no window exists yet. The palette must be built before the first layout.
  explicit biscuit_view(HICON icon);
  ~biscuit_view() override;

  // Copies the map surface onto dc at (0, 0); nothing before the first layout.
  void copy_surface(HDC dc);

  // Gives block i code i for every position of codes that has a block;
  // blocks past the end of codes keep theirs. Only blocks whose code changes
  // are repainted and invalidated; the window is then updated once, unless
  // nothing changed and nothing else waits to be painted.
  void set_block_colors(const std::vector<int>& codes);

  // Repaints one block on the surface with its current code and invalidates
  // its bounding box (grown by 2 pixels) with erase; repaint_block then
  // updates the window. An index past the block list does nothing.
  void repaint_block(std::uint32_t index);
  void refresh_block(std::uint32_t index);

  // The geometry and the blocks, whose codes the owner may change before
  // repainting them.
  biscuit_layout& map_layout() { return layout_; }
  const biscuit_layout& map_layout() const { return layout_; }

  // Called with the block under a left click; null: clicks do nothing.
  void (*block_click_callback)(std::uint32_t block) = nullptr;

 protected:
  // Override these.
  // Lays the map out over the whole client area; a minimise or a size below
  // 10 x 10 changes nothing.
  void on_size(WPARAM type, int width, int height) override;
  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  // Hit-tests the click for block_click_callback; starts no drag.
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;

 private:
  void check_thread() const;
  void invalidate_block(const map_block& block);
  void invalidate_blocks(const std::vector<std::size_t>& positions);

  biscuit_layout layout_;
  DWORD owner_thread_;
};

}  // namespace tessarel
