#include "engine/engine_folder.h"

#include <utility>

namespace tessarel {
namespace {

short_path_function short_path_lookup = &system_short_path;

}  // namespace

bool engine_can_use_folder(const std::wstring& program_folder) {
  return ansi_path(program_folder, short_path_lookup).has_value();
}

short_path_function install_short_path_lookup(short_path_function lookup) {
  return std::exchange(short_path_lookup, lookup != nullptr ? lookup : &system_short_path);
}

}  // namespace tessarel
