#include "state/volume_slots.h"

namespace dravik {

int32_t slot_of_letter(int32_t letter) noexcept {
  const auto byte = static_cast<unsigned char>(letter & 0xFF);
  if (byte >= 'D' && byte <= 'Z') return byte - 'C';
  if (byte >= 'd' && byte <= 'z') return byte - 'c';
  return 0;
}

}  // namespace dravik
