#include "map/biscuit_view.h"

#include <algorithm>
#include <cassert>
#include <climits>

#include "map/map_surface.h"
#include "startup/program_texts.h"
#include "vemo/gdi_handles.h"

namespace tessarel {

biscuit_view::biscuit_view(HICON icon)
    : movable_widget_t(main_window_class_name, CS_HREDRAW | CS_VREDRAW, icon, nullptr, nullptr,
                       nullptr),
      owner_thread_(GetCurrentThreadId()) {}

biscuit_view::~biscuit_view() = default;

// The surface, the block list and the window are not locked: a worker that
// touched them would race the paint.
void biscuit_view::check_thread() const { assert(GetCurrentThreadId() == owner_thread_); }

void biscuit_view::copy_surface(HDC dc) {
  check_thread();
  copy_map_surface(dc);
}

void biscuit_view::set_block_colors(const std::vector<int>& codes) {
  check_thread();
  std::vector<map_block>& blocks = layout_.blocks();
  std::vector<std::size_t> changed;
  const std::size_t count = std::min(codes.size(), blocks.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (blocks[i].colour_code == codes[i]) continue;
    blocks[i].colour_code = codes[i];
    changed.push_back(i);
  }
  paint_map_blocks(blocks, changed);
  invalidate_blocks(changed);
  // With nothing changed and nothing waiting to be painted there is nothing
  // to update, and UpdateWindow would still visit every child window.
  if (!changed.empty() || GetUpdateRect(handle(), nullptr, FALSE)) update();
}

void biscuit_view::refresh_block(std::uint32_t index) {
  check_thread();
  const std::vector<map_block>& blocks = layout_.blocks();
  if (index >= blocks.size()) return;
  paint_map_blocks(blocks, {index});
  invalidate_block(blocks[index]);
}

void biscuit_view::repaint_block(std::uint32_t index) {
  refresh_block(index);
  update();
}

namespace {

// The block's bounding box from its corners truncated toward zero, as its
// polygon region would give it, grown by 2 pixels to cover the outline.
RECT block_box(const map_block& block) {
  LONG left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
  for (const map_point& corner : block.corners) {
    const LONG x = static_cast<LONG>(corner.x), y = static_cast<LONG>(corner.y);
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  return {left - 2, top - 2, right + 2, bottom + 2};
}

}  // namespace

void biscuit_view::invalidate_block(const map_block& block) {
  if (!handle()) return;
  const RECT box = block_box(block);
  InvalidateRect(handle(), &box, TRUE);
}

// The same boxes as one region: each invalidation is a trip to the window
// manager, a region is built in the process.
void biscuit_view::invalidate_blocks(const std::vector<std::size_t>& positions) {
  if (!handle() || positions.empty()) return;
  const std::vector<map_block>& blocks = layout_.blocks();
  const vemo::gdi_object<HRGN> area(CreateRectRgn(0, 0, 0, 0));
  const vemo::gdi_object<HRGN> box_region(CreateRectRgn(0, 0, 0, 0));
  if (!area || !box_region) return;
  for (const std::size_t i : positions) {
    const RECT box = block_box(blocks[i]);
    SetRectRgn(box_region.get(), box.left, box.top, box.right, box.bottom);
    CombineRgn(area.get(), area.get(), box_region.get(), RGN_OR);
  }
  InvalidateRgn(handle(), area.get(), TRUE);
}

void biscuit_view::on_size(WPARAM type, int width, int height) {
  check_thread();
  if (type == SIZE_MINIMIZED || width < 10 || height < 10) return;
  layout_.layout(view_rect{0, 0, static_cast<double>(width), static_cast<double>(height)}, width,
                 height);
}

void biscuit_view::on_paint(HDC dc, PAINTSTRUCT&) { copy_surface(dc); }

void biscuit_view::on_lbutton_down(WPARAM, WORD x, WORD y) {
  std::uint32_t block = 0;
  if (block_click_callback && layout_.hit_test(point_d{double(x), double(y)}, block)) {
    block_click_callback(block);
  }
}

}  // namespace tessarel
