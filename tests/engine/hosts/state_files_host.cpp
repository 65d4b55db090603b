// A host of the built engine, run from a copy of the application folder (the
// engine keeps its files in its host's folder). It loads the engine, checks
// "shut down after defragmentation" in the options dialog, unloads, loads
// again and reads the flag back.
// Exit code: 0 when the flag came back; otherwise the step that failed.
#include <windows.h>

#include "resources/filter_dialog_ids.h"

namespace {

enum exit_code : int {
  flag_came_back = 0,
  engine_not_loaded = 10,
  export_missing = 11,
  flag_set_at_start = 12,
  dialog_not_confirmed = 13,
  flag_lost_at_reload = 14,
};

using options_export = void(__cdecl*)();
using flag_export = bool(__cdecl*)();

int dialog_steps = 0;

// Runs inside the dialog's own message loop: checks the box, then confirms.
void CALLBACK drive_options_dialog(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindowW(L"#32770", L"Tessarel选项");
  if (!dialog || !IsWindowVisible(dialog)) return;
  const int control = dialog_steps == 0 ? IDC_FILTER_LOGOUT : IDOK;
  if (dialog_steps < 2) {
    ++dialog_steps;
    SendMessageW(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
  }
}

template <class Function>
Function bind(HMODULE engine, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(engine, name)));
}

}  // namespace

int main() {
  HMODULE engine = LoadLibraryW(L"dravik.dll");
  if (!engine) return engine_not_loaded;
  const auto options = bind<options_export>(engine, "DLL_Options");
  const auto logout = bind<flag_export>(engine, "DLL_GetLogout");
  if (!options || !logout) return export_missing;
  if (logout()) return flag_set_at_start;

  const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &drive_options_dialog);
  options();
  KillTimer(nullptr, timer);
  if (dialog_steps != 2 || !logout()) return dialog_not_confirmed;
  FreeLibrary(engine);

  engine = LoadLibraryW(L"dravik.dll");
  if (!engine) return engine_not_loaded;
  const auto reloaded_logout = bind<flag_export>(engine, "DLL_GetLogout");
  const bool kept = reloaded_logout && reloaded_logout();
  FreeLibrary(engine);
  return kept ? flag_came_back : flag_lost_at_reload;
}
