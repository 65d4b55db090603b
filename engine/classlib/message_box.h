#pragma once
// The engine's message boxes: a text alone, OK by default, under the
// application title.

#include <windows.h>

#include "classlib/text_936.h"

#include <functional>
#include <string>

// Shows text (code page 936 bytes, as the engine's literals are) and returns
// the button pressed. The text is converted from code page 936 and shown
// through the wide API, so it reads right whatever the system code page is.
// The active window of the calling thread, if any, owns the box.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Answers message boxes instead of showing them (tests). The hook gets the
// text as passed to AfxMessageBox and the type, and returns the button.
// An empty hook restores real boxes. Returns the hook it replaces.
// Install only while no engine thread can show a box.
using message_box_hook = std::function<int(const std::string& text, UINT type)>;
message_box_hook install_message_box_hook(message_box_hook hook);
