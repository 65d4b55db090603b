#pragma once
// Where the main window puts its children and its clickable areas, in client
// coordinates of the 804 x 632 window. Plain values, any thread.

#include <windows.h>

namespace tessarel {

// The window's fixed size.
inline constexpr int main_window_width = 804;
inline constexpr int main_window_height = 632;
// The rounded corners of the window region.
inline constexpr int main_window_corner = 20;

// The volume check list.
inline constexpr RECT volume_list_rect{37, 78, 37 + 108, 78 + 125};
// The detail list, placed on every size message.
inline constexpr RECT detail_list_rect{37, 378, 37 + 108, 378 + 208};
// The block popup: where it is created, and where it is shown.
inline constexpr RECT popup_create_rect{184, 232, 184 + 200, 232 + 200};
inline constexpr POINT popup_origin{184, 350};

// The start, stop and advanced buttons: one column, centred in the 184
// pixels left of the map, 4 pixels apart.
inline constexpr int button_width = 130;
inline constexpr int button_height = 34;
inline constexpr int button_left = (184 - button_width) / 2;
inline constexpr int button_top = 227;
inline constexpr int button_gap = 4;
// The minimise and close buttons sit side by side from here.
inline constexpr POINT caption_buttons_origin{734, 1};

// The map's rectangle is the client area less these margins.
inline constexpr int map_left = 194;
inline constexpr int map_top = 42;
inline constexpr int map_right_margin = 10;
inline constexpr int map_bottom_margin = 20;
// Below this the map, the progress bar and the hit areas keep their layout.
inline constexpr int min_layout_width = 214;
inline constexpr int min_layout_height = 30;

// The progress bar runs from here to the right edge.
inline constexpr POINT progress_origin{604, 604};
inline constexpr int progress_height = 13;

// The volume facts at the upper left of the map, and the legend's anchor
// (x, client height - offset).
inline constexpr POINT volume_lines_origin{184, 47};
inline constexpr int legend_left = 184;
inline constexpr int legend_bottom_offset = 25;
// The open-issue count in the registry view (right-aligned at this point).
inline constexpr POINT issue_count_origin{785, 591};

}  // namespace tessarel
