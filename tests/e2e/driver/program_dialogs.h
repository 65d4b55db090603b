#pragma once
// The program's modal windows, answered from the test process: its message
// boxes (class "#32770" with push buttons of class "Button") and its
// skinned defragmentation menu (class "#32770" whose buttons are toolkit
// frames). The driver's thread alone.

#include <windows.h>

#include <string>

namespace tessarel::e2e {

// A message box of process pid once one is shown; null after timeout_ms.
HWND wait_for_message_box(DWORD pid, DWORD timeout_ms);
// Its text (the static item 0xFFFF).
std::wstring message_box_text(HWND box);
// Presses the box's button id (IDOK, IDCANCEL, IDYES, IDNO) as a click on
// it would. False when the box has no such button.
bool answer_message_box(HWND box, int id);

// The defragmentation menu of process pid once shown; null after timeout_ms.
HWND wait_for_defrag_menu(DWORD pid, DWORD timeout_ms);

enum class menu_choice { close, plain, optimised };
// Clicks the menu's button for choice. False when it is not there.
bool choose(HWND menu, menu_choice choice);

// Whether a window is still there (a dialog goes when it is answered).
bool window_gone(HWND hwnd);

}  // namespace tessarel::e2e
