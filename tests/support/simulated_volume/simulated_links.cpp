// The building calls of simulated_volume for hard links and file symbolic
// links, and the holding of freed clusters.
#include <stdexcept>

#include "simulated_volume.h"

namespace dravik::sim {

namespace {

[[noreturn]] void test_mistake(const std::string& what) { throw std::invalid_argument(what); }

}  // namespace

void simulated_volume::add_hard_link(std::string_view existing_file, std::string_view new_path) {
  std::lock_guard lock(mutex_);
  char letter = 0;
  const node_id file = existing_node(existing_file, &letter);
  const std::string text(new_path);
  win32_path parsed;
  volume_model& volume = model_for_path(text, parsed);
  if (parsed.letter != letter) test_mistake("a hard link stays on its file's volume: " + text);
  if (parsed.components.empty()) test_mistake("a hard link needs a name");
  if (volume.is_directory(file)) test_mistake("a directory takes no hard link: " + text);
  const node_id parent = build_parents(volume, parsed);
  volume.add_hard_link(file, parent, parsed.components.back());
}

void simulated_volume::add_file_symlink(std::string_view link, std::string_view target) {
  std::lock_guard lock(mutex_);
  std::string target_text(target);
  win32_path target_path;
  if (parse_win32_path(target_text.c_str(), false, target_path) != 0 || target_path.volume ||
      target_path.components.empty()) {
    test_mistake("a symbolic link leads to a path on a volume: " + target_text);
  }
  const std::string text(link);
  win32_path parsed;
  volume_model& volume = model_for_path(text, parsed);
  if (parsed.components.empty()) test_mistake("a symbolic link needs a name");
  const node_id parent = build_parents(volume, parsed);
  volume.add_file_symlink(parent, parsed.components.back(), std::move(target_text),
                          default_file_time);
}

void simulated_volume::hold_freed_clusters(char letter, bool hold) {
  std::lock_guard lock(mutex_);
  volume_of(letter).set_holding(hold);
}

void simulated_volume::checkpoint(char letter) {
  std::lock_guard lock(mutex_);
  volume_of(letter).release_held();
}

uint64_t simulated_volume::held_clusters(char letter) const {
  std::lock_guard lock(mutex_);
  return volume_of(letter).held_count();
}

}  // namespace dravik::sim
