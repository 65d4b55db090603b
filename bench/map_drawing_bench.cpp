// Times the round cluster map's drawing under GDI+ as the program uses it, at
// the main window's map size (804 x 632 client, map rectangle 194, 42, 794,
// 612): a full layout and paint of the 2565 blocks, set_block_colors with 0,
// 10 and 1000 changed codes (surface, invalidation and the window update), a
// copy of the whole surface to the window, and, as the floor for the same
// polygons, a plain GDI fill and outline into a DIB section.
//
// Options: --repeat N (default 20): each figure is the median of 5 batches of N runs
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "map/biscuit_view.h"
#include "map/block_palette.h"
#include "median_time.h"
#include "map/gdiplus_api.h"
#include "map/map_surface.h"
#include "vemo/gdi_handles.h"
#include "vemo/program_instance.h"

namespace {

using namespace tessarel;
using bench::time_ms;

constexpr int client_width = 804, client_height = 632;
const view_rect map_rect{194, 42, client_width - 10, client_height - 20};

// The map as the main window holds it: laid out in its map rectangle.
class main_map : public biscuit_view {
 public:
  main_map() : biscuit_view(nullptr) {}

 protected:
  void on_size(WPARAM, int width, int height) override {
    map_layout().layout(map_rect, width, height);
  }
};

void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Two code sequences of length n that differ in exactly `changed` positions
// spread over the map.
void alternating_codes(std::size_t n, std::size_t changed, std::vector<int>& a,
                       std::vector<int>& b) {
  a.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) a[i] = static_cast<int>(i % 6);
  b = a;
  for (std::size_t k = 0; k < changed; ++k) {
    const std::size_t i = k * n / changed;
    b[i] = (a[i] + 1) % 6;
  }
}

// The same blocks with plain GDI: one Polygon call per block, brush by code.
double gdi_floor_ms(const std::vector<map_block>& blocks, int repeat) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client_width, -client_height, 1, 32, BI_RGB};
  void* bits = nullptr;
  const vemo::gdi_object<HBITMAP> dib(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const vemo::created_dc dc(CreateCompatibleDC(nullptr));
  const vemo::selected_object selected_bitmap(dc.get(), dib.get());
  std::vector<vemo::gdi_object<HBRUSH>> brushes;
  for (std::size_t i = 0; i < block_palette_size(); ++i) {
    const std::uint32_t argb = block_colour(static_cast<int>(i));
    brushes.emplace_back(CreateSolidBrush(RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF)));
  }
  const vemo::selected_object selected_pen(dc.get(), GetStockObject(BLACK_PEN));
  const vemo::selected_object selected_brush(dc.get(), brushes[0].get());
  return time_ms(repeat, [&](int) {
    for (const map_block& block : blocks) {
      POINT corners[4];
      for (int c = 0; c < 4; ++c) {
        corners[c] = {static_cast<LONG>(block.corners[c].x), static_cast<LONG>(block.corners[c].y)};
      }
      SelectObject(dc.get(), brushes[static_cast<std::size_t>(block.colour_code)].get());
      Polygon(dc.get(), corners, 4);
    }
    GdiFlush();
  });
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
  }
  vemo::program_instance = GetModuleHandleW(nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
    std::fprintf(stderr, "GDI+ did not start\n");
    return 1;
  }
  // The sample settings' palette.
  build_block_palette({{250, 250, 250, L"free"}, {98, 190, 110, L"done"},
                       {150, 110, 200, L"system"}, {240, 190, 70, L"fixed"},
                       {70, 130, 210, L"contiguous"}, {220, 70, 60, L"fragmented"},
                       {0, 200, 200, L"selected"}});
  {
    main_map view;
    const RECT placed{0, 0, client_width, client_height};
    if (!view.create(L"map", WS_POPUP | WS_VISIBLE, placed, nullptr, nullptr)) {
      std::fprintf(stderr, "no window\n");
      return 1;
    }
    pump();
    std::vector<int> mixed, unused;
    alternating_codes(map_block_count, 0, mixed, unused);
    view.set_block_colors(mixed);
    pump();

    const double full = time_ms(repeat, [&](int) {
      view.map_layout().layout(map_rect, client_width, client_height);
    });
    double refresh[3] = {};
    std::size_t painted[3] = {};
    const std::size_t changes[3] = {0, 10, 1000};
    for (int c = 0; c < 3; ++c) {
      std::vector<int> a, b;
      alternating_codes(1000, changes[c], a, b);
      view.set_block_colors(a);
      pump();
      const std::size_t painted_before = map_blocks_painted();
      refresh[c] = time_ms(repeat, [&](int i) { view.set_block_colors(i % 2 ? a : b); });
      painted[c] = (map_blocks_painted() - painted_before) / static_cast<std::size_t>(repeat * 5);
    }
    const double copy = time_ms(repeat, [&](int) {
      const HDC dc = GetDC(view.handle());
      view.copy_surface(dc);
      ReleaseDC(view.handle(), dc);
    });
    const double floor = gdi_floor_ms(view.map_layout().blocks(), repeat);

    std::printf("map drawing at %d x %d (map rectangle %.0f,%.0f-%.0f,%.0f), %d runs\n",
                client_width, client_height, map_rect.left, map_rect.top, map_rect.right,
                map_rect.bottom, repeat);
    std::printf("  full layout + paint of %zu blocks   %8.3f ms\n", map_block_count, full);
    for (int c = 0; c < 3; ++c) {
      std::printf("  set_block_colors, %4zu changed      %8.3f ms   (%.3f of a full paint; "
                  "%zu blocks painted a call)\n",
                  changes[c], refresh[c], refresh[c] / full, painted[c]);
    }
    std::printf("  surface copy to the window         %8.3f ms\n", copy);
    std::printf("  GDI floor: same polygons into DIB  %8.3f ms\n", floor);
    std::printf("  full paint / GDI floor             %8.1f x\n", full / floor);
  }
  release_block_palette();
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
