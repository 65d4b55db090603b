#include "handle_table.h"

namespace dravik::sim {

namespace {

// value = (generation << 20 | slot + 1) << 2: never 0, never
// INVALID_HANDLE_VALUE, never a pseudo handle, and below 2^31 on 32 bits.
constexpr uint32_t slot_bits = 20;
constexpr uint32_t generation_mask = 0x1FF;

HANDLE encode(uint32_t slot, uint32_t generation) {
  const uintptr_t value = ((uintptr_t{generation & generation_mask} << slot_bits) | (slot + 1))
                          << 2;
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

HANDLE handle_table::open(open_handle entry) {
  uint32_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    index = static_cast<uint32_t>(slots_.size());
    if (index + 1 >= (1u << slot_bits)) return INVALID_HANDLE_VALUE;
    slots_.emplace_back();
  }
  slot& s = slots_[index];
  s.entry = std::move(entry);
  s.in_use = true;
  ++open_count_;
  return encode(index, s.generation);
}

open_handle* handle_table::find(HANDLE handle) {
  const auto value = reinterpret_cast<uintptr_t>(handle);
  if ((value & 3) != 0) return nullptr;
  const uintptr_t raw = value >> 2;
  const uintptr_t index_plus_one = raw & ((uintptr_t{1} << slot_bits) - 1);
  const uintptr_t generation = raw >> slot_bits;
  if (index_plus_one == 0 || index_plus_one > slots_.size()) return nullptr;
  slot& s = slots_[index_plus_one - 1];
  if (!s.in_use || generation != (s.generation & generation_mask)) return nullptr;
  return &s.entry;
}

bool handle_table::close(HANDLE handle) {
  open_handle* entry = find(handle);
  if (entry == nullptr) return false;
  const auto index = static_cast<uint32_t>(
      ((reinterpret_cast<uintptr_t>(handle) >> 2) & ((uintptr_t{1} << slot_bits) - 1)) - 1);
  slot& s = slots_[index];
  s.in_use = false;
  s.entry.find.reset();
  ++s.generation;
  free_.push_back(index);
  --open_count_;
  return true;
}

}  // namespace dravik::sim
