#pragma once
// Creating and showing the main window at start-up. User interface thread.

#include <windows.h>

#include "vemo/window.h"

namespace tessarel {

// The top-left corner that centres a window of the given size on a screen
// of the given size; negative when the screen is smaller (signed division,
// rounding toward zero). Any thread.
POINT centred_origin(int screen_width, int screen_height, int width, int height);

// Creates main's window (empty title, system menu and minimise box), centres
// it at 804 x 632 (which lays it out), takes its caption away, rounds its
// corners and shows it. False when the window could not be created.
bool create_main_window(vemo::window& main);

}  // namespace tessarel
