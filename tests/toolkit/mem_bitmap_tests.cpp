// Bitmap files in memory device contexts, and the GUI font holder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "toolkit_test_support.h"
#include "vemo/gdi_handles.h"
#include "vemo/gui_font.h"
#include "vemo/mem_bitmap.h"

namespace vemo::testing {
namespace {

COLORREF source_colour(int x, int y) {
  return RGB(40 + 50 * x, 30 + 70 * y, 200 - 20 * x - 30 * y);
}

constexpr COLORREF untouched = RGB(1, 2, 3);

// A 32-bit memory surface of the given size, filled with `untouched`.
class surface {
 public:
  surface(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    selection_ = std::make_unique<vemo::selected_object>(dc_.get(), bitmap_.get());
    const RECT all{0, 0, width, height};
    const vemo::gdi_object<HBRUSH> fill(CreateSolidBrush(untouched));
    FillRect(dc_.get(), &all, fill.get());
  }
  HDC dc() const { return dc_.get(); }

 private:
  vemo::created_dc dc_;
  vemo::gdi_object<HBITMAP> bitmap_;
  std::unique_ptr<vemo::selected_object> selection_;
};

void expect_empty(const vemo::mem_bitmap& b) {
  EXPECT_FALSE(b.loaded());
  EXPECT_EQ(b.dc(), nullptr);
  EXPECT_EQ(b.bitmap(), nullptr);
  const BITMAP zero{};
  EXPECT_EQ(memcmp(&b.description(), &zero, sizeof(zero)), 0);
}

TEST(MemBitmap, BlitCopiesFromTheOriginIntoTheRectangleWithoutStretching) {
  scoped_file file(L"mem_bitmap_4x3.bmp", bmp_file(4, 3, source_colour));
  vemo::mem_bitmap image;
  ASSERT_TRUE(image.load(file.path()));
  EXPECT_EQ(image.width(), 4);
  EXPECT_EQ(image.height(), 3);

  surface target(10, 8);
  image.blit(RECT{2, 1, 6, 4}, target.dc());
  // A smaller rectangle takes only the top-left part of the bitmap.
  image.blit(RECT{0, 5, 2, 7}, target.dc());
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      COLORREF expected = untouched;
      if (x >= 2 && x < 6 && y >= 1 && y < 4) expected = source_colour(x - 2, y - 1);
      if (x < 2 && y >= 5 && y < 7) expected = source_colour(x, y - 5);
      EXPECT_EQ(GetPixel(target.dc(), x, y), expected) << "at " << x << "," << y;
    }
  }
}

TEST(MemBitmap, AnythingButABitmapFileLeavesTheRecordEmpty) {
  scoped_file text(L"mem_bitmap_text.bmp", "this is not a bitmap");
  const std::wstring names[] = {L"NULL", L"", test_folder() + L"\\missing.bmp",
                                text.path()};
  for (const auto& name : names) {
    vemo::mem_bitmap image;
    EXPECT_FALSE(image.load(name));
    expect_empty(image);
  }
}

TEST(MemBitmap, ReleaseEmptiesTheRecordAndMayRunAgain) {
  scoped_file file(L"mem_bitmap_small.bmp", bmp_file(5, 2, source_colour));
  scoped_file other(L"mem_bitmap_other.bmp", bmp_file(3, 7, source_colour));
  vemo::mem_bitmap image;
  image.release();
  expect_empty(image);

  ASSERT_TRUE(image.load(file.path()));
  HDC dc = image.dc();
  HBITMAP bitmap = image.bitmap();
  image.release();
  expect_empty(image);
  // Really deleted, not only forgotten.
  EXPECT_EQ(GetObjectType(dc), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  image.release();
  expect_empty(image);

  ASSERT_TRUE(image.load(file.path()));
  dc = image.dc();
  bitmap = image.bitmap();
  ASSERT_TRUE(image.load(other.path()));
  EXPECT_EQ(GetObjectType(dc), 0u) << "loading again releases the old image";
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(image.width(), 3);
  EXPECT_EQ(image.height(), 7);
  EXPECT_EQ(GetPixel(image.dc(), 2, 6), source_colour(2, 6));
}

TEST(GuiFont, HoldsTheStockFontWithItsDisplayMetrics) {
  vemo::gui_font font;
  EXPECT_EQ(font.font(), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_FALSE(font.owned());
  EXPECT_GT(font.metrics().tmHeight, 0);
  EXPECT_GT(font.metrics().tmAveCharWidth, 0);
  font.release();
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
}

}  // namespace
}  // namespace vemo::testing
