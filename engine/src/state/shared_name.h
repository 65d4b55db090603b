#pragma once
// A file name that a walker rewrites for every directory entry while the
// status poll copies it: a fixed buffer, written and read under a small
// lock, so the walker allocates nothing per entry and a reader never sees
// half of one name and half of the next.

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <mutex>

namespace dravik {

class shared_name {
 public:
  shared_name() = default;
  shared_name(const shared_name&) = delete;
  shared_name& operator=(const shared_name&) = delete;

  // Keeps up to MAX_PATH - 1 bytes of name (a find record's file name always
  // fits); null empties it.
  void set(const char* name) {
    const size_t length = name != nullptr ? strnlen(name, sizeof text_ - 1) : 0;
    std::lock_guard<std::mutex> hold(lock_);
    std::memcpy(text_, name != nullptr ? name : "", length);
    text_[length] = '\0';
    length_ = length;
  }

  // Copies the name into out (size bytes, at least 1), cut to fit with its NUL.
  void copy_to(char* out, size_t size) const {
    std::lock_guard<std::mutex> hold(lock_);
    const size_t length = length_ < size - 1 ? length_ : size - 1;
    std::memcpy(out, text_, length);
    out[length] = '\0';
  }

 private:
  mutable std::mutex lock_;
  char text_[MAX_PATH] = {};
  size_t length_ = 0;
};

}  // namespace dravik
