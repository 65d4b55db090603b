#pragma once
// The engine's single values that belong to no job: where its files are,
// and what it found at load.

#include <cstdint>
#include <string>

namespace dravik {

struct engine_globals {
  // Folder of the running host executable, with its trailing backslash; every
  // engine file name is appended to it. The loading thread writes both at
  // load; any thread reads.
  std::string application_folder;
  std::string host_executable_path;

  // Fixed drives found at load. The loading thread writes; the unload reads.
  int32_t fixed_volume_count = 0;
};

}  // namespace dravik
