// The block palette: values of "biscuit_visual_effect" read into colours and
// names, the sample settings' palette, codes outside the palette, the legend.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "map/block_palette.h"
#include "map/map_legend.h"
#include "map/map_test_support.h"
#include "vemo/gdi_handles.h"

namespace tessarel::testing {
namespace {

struct entry_case {
  const wchar_t* value;
  std::uint32_t colour;
  const wchar_t* name;
};

TEST(PaletteEntry, ReadsThreeChannelsAndAWord) {
  const entry_case cases[] = {
      {L"255 0 0 red extra", 0xFFFF0000, L"red"},
      {L"300 0 0 x", 0xFF2C0000, L"x"},  // low 8 bits only
      {L"-1 256 511 wrapped", 0xFFFF00FF, L"wrapped"},
      {L"  1\t2  3   tabs", 0xFF010203, L"tabs"},
      {L"1 2 3", 0xFF010203, L""},
      // A failed field and every field after it stay 0 or empty.
      {L"10 x 20 name", 0xFF0A0000, L""},
      {L"10 20 blue name", 0xFF0A1400, L""},
      {L"99999999999 5 5 overflow", 0xFF000000, L""},
      {L"", 0xFF000000, L""},
      {L"250 250 250 空闲空间", 0xFFFAFAFA, L"空闲空间"},
  };
  for (const entry_case& c : cases) {
    std::wistringstream in(c.value);
    palette_entry entry;
    entry.name = L"stale";
    in >> entry;
    EXPECT_EQ(palette_colour(entry), c.colour) << c.value;
    EXPECT_EQ(entry.name, c.name) << c.value;
  }
}

TEST(BlockPalette, TheSampleSettingsGiveSevenEntriesInFileOrder) {
  build_sample_palette();
  ASSERT_EQ(block_palette_size(), 7u);
  EXPECT_EQ(block_colour(0), 0xFFFAFAFAu);
  EXPECT_EQ(block_colour(5), 0xFFDC463Cu);
  EXPECT_EQ(block_colour(6), 0xFF00C8C8u);  // the highlight is the last entry
  EXPECT_EQ(legend_names(), (std::vector<std::wstring>{L"空闲空间", L"已整理", L"系统文件",
                                                        L"无需移动", L"连续文件", L"碎片文件",
                                                        L"选中区块"}));
}

TEST(BlockPalette, CodesOutsideThePaletteGetTheFallbackColour) {
  // A short list in a user's settings file must not index past the palette.
  build_block_palette({{1, 2, 3, L"a"}, {4, 5, 6, L"b"}});
  EXPECT_EQ(block_colour(1), 0xFF040506u);
  EXPECT_EQ(block_colour(2), fallback_block_colour);
  EXPECT_EQ(block_colour(6), fallback_block_colour);
  EXPECT_EQ(block_colour(-1), fallback_block_colour);
  build_sample_palette();
}

TEST(BlockPalette, NoEntryIsAnError) {
  try {
    build_block_palette(std::vector<palette_entry>{});
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "s_brush_colors.empty");
  }
}

// Draws the legend into a white 32-bit bitmap; returns its pixel reader.
class legend_canvas {
 public:
  legend_canvas() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    selected_ = std::make_unique<vemo::selected_object>(dc_.get(), bitmap_.get());
    PatBlt(dc_.get(), 0, 0, width, height, WHITENESS);
  }
  HDC dc() const { return dc_.get(); }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_.get(), x, y); }

  static constexpr int width = 200, height = 200;

 private:
  vemo::gdi_object<HBITMAP> bitmap_;
  vemo::created_dc dc_;
  std::unique_ptr<vemo::selected_object> selected_;
};

TEST(MapLegend, OneRowPerEntryGrowingUpwardFromEntryZero) {
  build_sample_palette();
  legend_canvas canvas;
  const POINT anchor{20, 180};
  draw_legend(canvas.dc(), anchor);
  for (int i = 0; i < 7; ++i) {
    const int centre_y = anchor.y - legend_row_height * (i + 1) + legend_row_height / 2;
    EXPECT_EQ(canvas.pixel(anchor.x + 8, centre_y), to_colorref(block_colour(i))) << i;
  }
  // No eighth row, and nothing below the anchor.
  EXPECT_EQ(canvas.pixel(anchor.x + 8, anchor.y - legend_row_height * 8 + 8), RGB(255, 255, 255));
  EXPECT_EQ(canvas.pixel(anchor.x + 8, anchor.y + 3), RGB(255, 255, 255));
  // The font stays selected.
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
}  // namespace tessarel::testing
