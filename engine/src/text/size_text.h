#pragma once

#include <cstdint>
#include <string>

namespace dravik {

// A byte count as GiB with one decimal and " GB": 465.761719 GiB gives
// "465.7 GB". The decimal is cut, never rounded up.
std::string size_text(uint64_t bytes);

}  // namespace dravik
