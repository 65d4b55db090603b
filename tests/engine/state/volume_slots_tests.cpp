#include <gtest/gtest.h>

#include "state/volume_slots.h"

namespace dravik::testing {
namespace {

struct slot_case {
  int32_t letter;
  int32_t slot;
};

class SlotOfLetter : public ::testing::TestWithParam<slot_case> {};

// Catches letters landing on the wrong volume's tables: an off-by-one moves
// every drive's map onto its neighbour.
TEST_P(SlotOfLetter, MapsLetterToItsSlot) {
  EXPECT_EQ(slot_of_letter(GetParam().letter), GetParam().slot)
      << "letter " << GetParam().letter;
}

INSTANTIATE_TEST_SUITE_P(
    Letters, SlotOfLetter,
    ::testing::Values(slot_case{'C', 0}, slot_case{'D', 1}, slot_case{'E', 2},
                      slot_case{'Z', 23},
                      // lower case addresses the same slots
                      slot_case{'c', 0}, slot_case{'d', 1}, slot_case{'z', 23},
                      // A, B and anything that is no drive letter fall on C's slot
                      slot_case{'A', 0}, slot_case{'B', 0}, slot_case{'a', 0}, slot_case{'b', 0},
                      slot_case{'1', 0}, slot_case{0, 0}, slot_case{'[', 0}, slot_case{'{', 0},
                      // only the low byte counts
                      slot_case{0x100 | 'E', 2}, slot_case{0x7F000000 | 'z', 23},
                      slot_case{-1, 0}));

// Catches a slot beyond 23: slots 24 and 25 must stay empty whatever arrives.
TEST(SlotOfLetterRange, NoValueReachesSlots24And25) {
  for (int32_t value = -512; value < 512; ++value) {
    const int32_t slot = slot_of_letter(value);
    EXPECT_GE(slot, 0);
    EXPECT_LE(slot, 23) << value;
  }
}

}  // namespace
}  // namespace dravik::testing
