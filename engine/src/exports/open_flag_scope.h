#pragma once
// Marks a dialog as open for as long as its export shows it, however the
// showing ends.

namespace dravik {

class open_flag_scope {
 public:
  explicit open_flag_scope(bool& open) noexcept : open_(open) { open_ = true; }
  ~open_flag_scope() { open_ = false; }
  open_flag_scope(const open_flag_scope&) = delete;
  open_flag_scope& operator=(const open_flag_scope&) = delete;

 private:
  bool& open_;
};

}  // namespace dravik
