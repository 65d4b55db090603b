#pragma once
// Volume slots: every per-volume table of the engine has one entry per slot.

#include <cstdint>

namespace dravik {

// C owns slot 0 and D to Z own 1 to 23; slots 24 and 25 exist but stay empty.
constexpr int slot_count = 26;

// The slot of the drive letter in the low byte of letter. Any letter outside
// C to Z (and c to z) falls on slot 0, that is drive C.
int32_t slot_of_letter(int32_t letter) noexcept;

}  // namespace dravik
