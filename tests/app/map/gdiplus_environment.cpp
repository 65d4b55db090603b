// GDI+ brackets every test as it brackets the program's window: started
// before the first test, the map's palette and surface released before it is
// shut down.
#include <gtest/gtest.h>

#include "map/block_palette.h"
#include "map/gdiplus_api.h"

namespace tessarel::testing {
namespace {

class gdiplus_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override {
    release_block_palette();
    Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new gdiplus_environment);

}  // namespace
}  // namespace tessarel::testing
