#pragma once
// The failure of binding the engine: the library could not be loaded, or it
// lacks an entry point the program calls. The start-up shows the message and
// ends the program.

#include <stdexcept>
#include <string>

namespace tessarel {

class engine_binding_error : public std::runtime_error {
 public:
  // message names the library or the entry point; what() gives it in the
  // ANSI code page, message() as it was made.
  explicit engine_binding_error(const std::wstring& message);

  const std::wstring& message() const noexcept { return message_; }

 private:
  std::wstring message_;
};

}  // namespace tessarel
