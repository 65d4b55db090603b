#pragma once
// Ownership of COM interface pointers and of COM on a thread.

#include <objbase.h>

#include <utility>

namespace dravik {

// Holds one reference to an interface and releases it.
template <class Interface>
class com_ptr {
 public:
  com_ptr() = default;
  ~com_ptr() { reset(); }
  com_ptr(const com_ptr&) = delete;
  com_ptr& operator=(const com_ptr&) = delete;
  com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  com_ptr& operator=(com_ptr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For a call that hands out a reference: releases the one held first.
  Interface** put() {
    reset();
    return &pointer_;
  }
  // The same for calls typed with IUnknown** or void**.
  template <class Other>
  Other** put_as() {
    reset();
    return reinterpret_cast<Other**>(&pointer_);
  }

  void reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

// COM initialised (single-threaded apartment) for the life of the object;
// uninitialised only when the initialisation succeeded, as COM counts them.
class com_session {
 public:
  com_session() : result_(CoInitialize(nullptr)) {}
  ~com_session() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  com_session(const com_session&) = delete;
  com_session& operator=(const com_session&) = delete;

  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace dravik
