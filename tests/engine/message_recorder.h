#pragma once
// Answers the engine's message boxes with OK and records their texts (code
// page 936 bytes) for the life of the object.

#include "classlib/message_box.h"

#include <string>
#include <vector>

namespace dravik::testing {

class message_recorder {
 public:
  message_recorder()
      : previous_(install_message_box_hook([this](const std::string& text, UINT type) {
          texts.push_back(text);
          types.push_back(type);
          return IDOK;
        })) {}
  ~message_recorder() { install_message_box_hook(std::move(previous_)); }
  message_recorder(const message_recorder&) = delete;
  message_recorder& operator=(const message_recorder&) = delete;

  std::vector<std::string> texts;
  std::vector<UINT> types;

 private:
  message_box_hook previous_;
};

}  // namespace dravik::testing
