#include <gtest/gtest.h>

#include <cstdint>

#include "text/size_text.h"

namespace dravik::testing {
namespace {

constexpr uint64_t gib = uint64_t{1} << 30;

struct size_case {
  uint64_t bytes;
  const char* text;
};

class SizeText : public ::testing::TestWithParam<size_case> {};

// Catches rounding instead of cutting, a lost decimal and 32-bit overflow.
TEST_P(SizeText, CutsAfterOneDecimal) { EXPECT_EQ(size_text(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeText,
    ::testing::Values(
        // 465.761719 GiB
        size_case{500107862016, "465.7 GB"},
        size_case{gib / 2, "0.5 GB"},
        // 0.99 GiB would round to 1.0
        size_case{gib * 99 / 100, "0.9 GB"},
        size_case{0, "0.0 GB"},
        size_case{gib, "1.0 GB"},
        // 0.05 GiB exactly would show 0.1 if rounded to one place
        size_case{gib / 20 + 1, "0.0 GB"},
        // beyond 4 GiB and beyond 2^31 clusters of 4 KiB
        size_case{uint64_t{16} << 40, "16384.0 GB"}));

}  // namespace
}  // namespace dravik::testing
