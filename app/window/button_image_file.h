#pragma once
// The skin files of the main window's seven push buttons, four states each.

#include <string>

namespace tessarel {

// The main window's push buttons, in the order their images are numbered.
enum main_button : int {
  button_analyze_start,
  button_analyze_stop,
  button_defragment_start,
  button_defragment_stop,
  button_advanced,
  button_minimize,
  button_close,
  main_button_count
};

// The settings key of image index (0 to 27): button index / 4, an
// underscore and the state index % 4 ("defragment_stop_2"). Past 27: empty.
// Any thread.
std::string button_image_key(int index);

// The absolute path of image index from the process's settings; empty past
// 27. Throws vemo::cfg_error for a missing key (or without settings). User
// interface thread.
std::wstring button_image_file(int index);

// The absolute path of the skin file that settings key names. Throws
// vemo::cfg_error for a missing key (or without settings). User interface
// thread.
std::wstring skin_file(const std::string& key);

}  // namespace tessarel
