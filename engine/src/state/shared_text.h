#pragma once
// A short text that one thread rewrites while others read it: copied under a
// small lock, so a reader never sees half of a name.

#include <mutex>
#include <string>
#include <string_view>

namespace dravik {

class shared_text {
 public:
  shared_text() = default;
  shared_text(const shared_text&) = delete;
  shared_text& operator=(const shared_text&) = delete;

  // Reuses the text's storage, so rewriting a name of no greater length
  // allocates nothing.
  void set(std::string_view text) {
    std::lock_guard<std::mutex> hold(lock_);
    text_.assign(text.data(), text.size());
  }

  std::string get() const {
    std::lock_guard<std::mutex> hold(lock_);
    return text_;
  }

  // The first character, 0 when the text is empty.
  char first() const {
    std::lock_guard<std::mutex> hold(lock_);
    return text_.empty() ? '\0' : text_[0];
  }

 private:
  mutable std::mutex lock_;
  std::string text_;
};

}  // namespace dravik
