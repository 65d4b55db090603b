#pragma once
// A value that one thread writes and other threads poll without a lock: the
// engine's stop and phase bytes, progress numbers and cell counters.
//
// Access is a relaxed atomic load or store, so a reader never sees a torn
// 64-bit number; no ordering with other values is promised. add() is a load
// and a store, not a locked read-modify-write: each such value has one writer
// at a time, and the counters are bumped millions of times per walk.

#include <atomic>

namespace dravik {

template <class T>
class shared_value {
  static_assert(std::atomic<T>::is_always_lock_free);

 public:
  constexpr shared_value(T value = T{}) noexcept : value_(value) {}
  shared_value(const shared_value&) = delete;
  shared_value& operator=(const shared_value&) = delete;

  T get() const noexcept { return value_.load(std::memory_order_relaxed); }
  operator T() const noexcept { return get(); }

  void set(T value) noexcept { value_.store(value, std::memory_order_relaxed); }
  shared_value& operator=(T value) noexcept {
    set(value);
    return *this;
  }

  // For the value's one writer only.
  void add(T delta) noexcept { set(static_cast<T>(get() + delta)); }

  // Stores value and returns the one it replaces, in one step: for a value
  // that two sides write, so that neither write is lost between a test and
  // a reset.
  T exchange(T value) noexcept { return value_.exchange(value, std::memory_order_acq_rel); }

 private:
  std::atomic<T> value_;
};

}  // namespace dravik
