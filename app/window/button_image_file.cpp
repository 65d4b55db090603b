#include "window/button_image_file.h"

#include "vemo/settings.h"

namespace tessarel {
namespace {

constexpr const char* button_names[main_button_count] = {
    "analyze_start", "analyze_stop", "defragment_start", "defragment_stop",
    "advanced",      "minimize",     "close"};
constexpr int states_per_button = 4;

}  // namespace

std::string button_image_key(int index) {
  if (index < 0 || index >= main_button_count * states_per_button) return {};
  return std::string(button_names[index / states_per_button]) + '_' +
         std::to_string(index % states_per_button);
}

std::wstring button_image_file(int index) {
  const std::string key = button_image_key(index);
  if (key.empty()) return {};
  return skin_file(key);
}

std::wstring skin_file(const std::string& key) {
  const vemo::mapcfg* const settings = vemo::settings();
  if (settings == nullptr) throw vemo::cfg_error(key);
  std::wstring file;
  settings->get(key, file);
  vemo::make_program_path(*settings, file);
  return file;
}

}  // namespace tessarel
