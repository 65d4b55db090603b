#pragma once
// What the toolkit's tests share beyond the window helpers of every GUI test.

#include "gui_test_support/gui_test_support.h"

namespace vemo::testing {

using namespace tessarel::testing;

// Dialog template of the test executable: an empty captioned popup.
constexpr int test_dialog_template = 900;

}  // namespace vemo::testing
