#include "map/map_surface.h"

#include <map>
#include <memory>

#include "map/gdiplus_api.h"
#include "map/palette_brushes.h"

namespace tessarel {
namespace {

struct surface {
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
  std::unique_ptr<Gdiplus::Graphics> graphics;
  SIZE size{0, 0};
  std::size_t painted = 0;
};

// Never destroyed at exit: its GDI+ objects must go before GDI+ is shut down,
// which release_block_palette sees to.
surface& the_surface() {
  static auto* const s = new surface;
  return *s;
}

void add_block(Gdiplus::GraphicsPath& path, const map_block& block) {
  Gdiplus::PointF points[4];
  for (int i = 0; i < 4; ++i) points[i] = {block.corners[i].x, block.corners[i].y};
  path.AddPolygon(points, 4);
}

// Fills with one path per colour code, then outlines every block with one
// antialiased path: a few GDI+ calls instead of two per block. Blocks never
// overlap, so the order of the fills does not matter.
template <class Positions>
void paint(const std::vector<map_block>& blocks, const Positions& positions) {
  surface& s = the_surface();
  Gdiplus::Pen* pen = block_pen();
  if (!s.graphics) return;
  std::map<int, Gdiplus::GraphicsPath> fills;
  Gdiplus::GraphicsPath outline(Gdiplus::FillModeAlternate);
  std::size_t count = 0;
  for (const std::size_t i : positions) {
    if (i >= blocks.size()) continue;
    add_block(fills[blocks[i].colour_code], blocks[i]);
    add_block(outline, blocks[i]);
    ++count;
  }
  if (count == 0) return;
  s.graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);
  for (auto& [code, path] : fills) {
    if (Gdiplus::Brush* brush = block_brush(code)) s.graphics->FillPath(brush, &path);
  }
  s.graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  if (pen) s.graphics->DrawPath(pen, &outline);
  s.graphics->Flush(Gdiplus::FlushIntentionSync);
  s.painted += count;
}

// Every position of a block list, without building the list of them.
struct all_positions {
  struct iterator {
    std::size_t i;
    std::size_t operator*() const { return i; }
    iterator& operator++() { ++i; return *this; }
    bool operator!=(const iterator& other) const { return i != other.i; }
  };
  std::size_t count;
  iterator begin() const { return {0}; }
  iterator end() const { return {count}; }
};

}  // namespace

void rebuild_map_surface(int width, int height, const std::vector<map_block>& blocks) {
  release_map_surface();
  if (width < 1 || height < 1) return;
  surface& s = the_surface();
  // A fresh bitmap is fully transparent.
  s.bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  s.graphics = std::make_unique<Gdiplus::Graphics>(s.bitmap.get());
  s.size = {width, height};
  paint(blocks, all_positions{blocks.size()});
}

void paint_map_blocks(const std::vector<map_block>& blocks,
                      const std::vector<std::size_t>& positions) {
  paint(blocks, positions);
}

void copy_map_surface(HDC dc) {
  surface& s = the_surface();
  if (!s.bitmap) return;
  Gdiplus::Graphics target(dc);
  target.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  target.DrawImage(s.bitmap.get(), 0, 0, s.size.cx, s.size.cy);
}

void release_map_surface() {
  surface& s = the_surface();
  s.graphics.reset();
  s.bitmap.reset();
  s.size = {0, 0};
}

bool map_surface_exists() { return the_surface().bitmap != nullptr; }

SIZE map_surface_size() { return the_surface().size; }

std::uint32_t map_surface_pixel(int x, int y) {
  surface& s = the_surface();
  if (!s.bitmap || x < 0 || y < 0 || x >= s.size.cx || y >= s.size.cy) return 0;
  Gdiplus::Color colour;
  if (s.bitmap->GetPixel(x, y, &colour) != Gdiplus::Ok) return 0;
  return colour.GetValue();
}

std::size_t map_blocks_painted() { return the_surface().painted; }

}  // namespace tessarel
