#pragma once
// The generated volume every benchmark runs over, and the command-line options
// that change it: --files N --folders N --clusters N --seed N --scatter F.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "simulated_volume/volume_generator.h"

namespace bench {

// NTFS, 2^28 clusters of 4 KiB, 1,000,000 files in 100,000 folders, seed 2024.
inline dravik::sim::generator_settings default_volume_settings() {
  dravik::sim::generator_settings settings;
  settings.seed = 2024;
  settings.total_clusters = uint64_t{1} << 28;
  settings.files = 1000000;
  settings.folders = 100000;
  return settings;
}

inline const char* volume_options_usage() {
  return "[--files N] [--folders N] [--clusters N] [--seed N] [--scatter F]";
}

// Takes argv[i], and its value after it, when it is one of the volume options;
// false leaves i alone for the benchmark's own options.
inline bool take_volume_option(int argc, char** argv, int& i,
                               dravik::sim::generator_settings& settings) {
  if (i + 1 >= argc) return false;
  const char* option = argv[i];
  const char* value = argv[i + 1];
  if (!std::strcmp(option, "--files")) {
    settings.files = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
  } else if (!std::strcmp(option, "--folders")) {
    settings.folders = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
  } else if (!std::strcmp(option, "--clusters")) {
    settings.total_clusters = std::strtoull(value, nullptr, 10);
  } else if (!std::strcmp(option, "--seed")) {
    settings.seed = std::strtoull(value, nullptr, 10);
  } else if (!std::strcmp(option, "--scatter")) {
    settings.free_scatter = std::strtod(value, nullptr);
  } else {
    return false;
  }
  ++i;
  return true;
}

}  // namespace bench
