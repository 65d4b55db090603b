#include "map/map_surface.h"

#include <map>
#include <memory>

#include "map/gdiplus_api.h"
#include "map/palette_brushes.h"
#include "vemo/gdi_handles.h"

namespace tessarel {
namespace {

// The GDI+ bitmap draws into the memory of a DIB section, so that copying it
// to a window is one GDI blend of the part that changed, not a GDI+ image
// draw that converts the whole bitmap each time. Its format is premultiplied
// ARGB, which is what the blend takes; opaque and fully transparent pixels,
// all that the surface holds apart from outline edges, read the same in
// either form.
struct surface {
  vemo::gdi_object<HBITMAP> dib;
  vemo::created_dc dc;
  std::unique_ptr<vemo::selected_object> selected;
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

void block_points(const map_block& block, Gdiplus::PointF (&points)[4]) {
  for (int i = 0; i < 4; ++i) points[i] = {block.corners[i].x, block.corners[i].y};
}

void add_block(Gdiplus::GraphicsPath& path, const map_block& block) {
  Gdiplus::PointF points[4];
  block_points(block, points);
  path.AddPolygon(points, 4);
}

// GDI+ fills a path by walking its whole bounding box: one path per colour
// pays off when the blocks cover much of the map (a layout, a new volume), a
// few scattered blocks are cheaper one by one.
constexpr std::size_t path_paint_from = 128;

void paint_one(surface& s, const map_block& block, Gdiplus::Pen* pen) {
  Gdiplus::PointF points[4];
  block_points(block, points);
  if (Gdiplus::Brush* brush = block_brush(block.colour_code)) {
    s.graphics->FillPolygon(brush, points, 4);
  }
  if (pen) s.graphics->DrawPolygon(pen, points, 4);
}

// Fills with one path per colour code, then outlines every block with one
// antialiased path. Blocks never overlap, so the order of the fills does not
// matter.
template <class Positions>
void paint_by_colour(surface& s, const std::vector<map_block>& blocks, const Positions& positions,
                     Gdiplus::Pen* pen) {
  std::map<int, Gdiplus::GraphicsPath> fills;
  Gdiplus::GraphicsPath outline(Gdiplus::FillModeAlternate);
  for (const std::size_t i : positions) {
    if (i >= blocks.size()) continue;
    add_block(fills[blocks[i].colour_code], blocks[i]);
    add_block(outline, blocks[i]);
  }
  s.graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);
  for (auto& [code, path] : fills) {
    if (Gdiplus::Brush* brush = block_brush(code)) s.graphics->FillPath(brush, &path);
  }
  s.graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  if (pen) s.graphics->DrawPath(pen, &outline);
}

template <class Positions>
void paint(const std::vector<map_block>& blocks, const Positions& positions) {
  surface& s = the_surface();
  if (!s.graphics) return;
  std::size_t count = 0;
  for (const std::size_t i : positions) count += i < blocks.size() ? 1 : 0;
  if (count == 0) return;
  Gdiplus::Pen* pen = block_pen();
  if (count >= path_paint_from) {
    paint_by_colour(s, blocks, positions, pen);
  } else {
    s.graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    for (const std::size_t i : positions) {
      if (i < blocks.size()) paint_one(s, blocks[i], pen);
    }
  }
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
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};  // top-down
  void* bits = nullptr;
  // A fresh DIB section is all zero: fully transparent.
  s.dib.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  s.dc.reset(CreateCompatibleDC(nullptr));
  if (!s.dib || !s.dc || !bits) {
    release_map_surface();
    return;
  }
  s.selected = std::make_unique<vemo::selected_object>(s.dc.get(), s.dib.get());
  s.bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                               static_cast<BYTE*>(bits));
  s.graphics = std::make_unique<Gdiplus::Graphics>(s.bitmap.get());
  s.size = {width, height};
  paint(blocks, all_positions{blocks.size()});
}

void paint_map_blocks(const std::vector<map_block>& blocks,
                      const std::vector<std::size_t>& positions) {
  paint(blocks, positions);
}

namespace {

// The rectangles of the device context's system region (in a paint, the
// update region) in client coordinates, when there are at most `limit`: the
// boxes of a few changed blocks. Empty when there are more or none is known.
std::vector<RECT> region_rects(HDC dc, DWORD limit) {
  std::vector<RECT> rects;
  const vemo::gdi_object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  POINT origin{};
  if (!region || GetRandomRgn(dc, region.get(), SYSRGN) != 1 || !GetDCOrgEx(dc, &origin)) {
    return rects;
  }
  // The system region is in screen coordinates; a clip region of the caller
  // narrows it further.
  OffsetRgn(region.get(), -origin.x, -origin.y);
  const vemo::gdi_object<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
  if (clip && GetClipRgn(dc, clip.get()) == 1) {
    CombineRgn(region.get(), region.get(), clip.get(), RGN_AND);
  }
  const DWORD bytes = GetRegionData(region.get(), 0, nullptr);
  if (bytes < sizeof(RGNDATAHEADER)) return rects;
  std::vector<std::uint8_t> buffer(bytes);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(region.get(), bytes, data) != bytes || data->rdh.nCount > limit) return rects;
  const auto* first = reinterpret_cast<const RECT*>(data->Buffer);
  rects.assign(first, first + data->rdh.nCount);
  return rects;
}

void blend_part(HDC dc, const surface& s, RECT part) {
  const RECT whole{0, 0, s.size.cx, s.size.cy};
  if (!IntersectRect(&part, &part, &whole)) return;
  const int w = part.right - part.left, h = part.bottom - part.top;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, part.left, part.top, w, h, s.dc.get(), part.left, part.top, w, h, blend);
}

}  // namespace

void copy_map_surface(HDC dc) {
  const surface& s = the_surface();
  if (!s.dc) return;
  // Only what the device context can show: after a code change the paint's
  // region is a few block boxes, not the whole map.
  RECT clip{};
  const int clip_kind = GetClipBox(dc, &clip);
  if (clip_kind == NULLREGION) return;
  if (clip_kind == COMPLEXREGION) {
    const std::vector<RECT> rects = region_rects(dc, 64);
    if (!rects.empty()) {
      for (const RECT& rect : rects) blend_part(dc, s, rect);
      return;
    }
  }
  blend_part(dc, s, clip_kind == ERROR ? RECT{0, 0, s.size.cx, s.size.cy} : clip);
}

void release_map_surface() {
  surface& s = the_surface();
  s.graphics.reset();
  s.bitmap.reset();
  s.selected.reset();
  s.dc.reset();
  s.dib.reset();
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
