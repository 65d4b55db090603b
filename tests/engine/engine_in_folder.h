#pragma once
// The engine loaded for the life of the object, its application folder the
// folder of the host executable a test names, for tests that drive the
// exports and look at the state they keep. The test installs the volume seam
// the engine's start-up is to see before making one.

#include <stdexcept>
#include <string>

#include "core/engine_lifetime.h"

namespace dravik::testing {

class engine_in_folder {
 public:
  explicit engine_in_folder(const std::string& host_executable_path) {
    if (!dravik::load_engine({host_executable_path})) throw std::runtime_error("no engine loaded");
  }
  ~engine_in_folder() { dravik::unload_engine(); }
  engine_in_folder(const engine_in_folder&) = delete;
  engine_in_folder& operator=(const engine_in_folder&) = delete;

  dravik::engine_state* operator->() const { return dravik::current_engine(); }
};

}  // namespace dravik::testing
