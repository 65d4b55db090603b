#pragma once
// The advanced dialog: the companion's log-on entry (check box 114), the
// companion process (a button that ends a running companion or starts it)
// and the scheduled task (add, edit, remove). Its values persist between
// showings. The engine's state owns the one the engine shows; user
// interface thread only.

#include "advanced/sel_volume_list.h"
#include "classlib/dialog.h"

#include <windows.h>

#include <string>

namespace dravik {

class Advance : public CDialog {
 public:
  Advance();

  DWORD companion_pid = 0;       // the companion the dialog found or started
  int companion_running = 0;     // 1 while the dialog believes it runs
  int companion_run_check = 0;   // check box 114: start the companion at log-on
  std::string schedule_letters;  // chosen in the schedule dialog, e.g. CD
  std::string working_folder;    // the application folder, with its backslash
  std::string program_path;      // the user interface program, the task's application

  // The size texts the schedule dialog shows next to the letters (set from
  // the engine's state before each showing); empty texts when unset.
  volume_size_text size_text;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  bool OnCommand(WORD id, WORD notification, HWND control) override;
  void OnShowWindow(BOOL show, UINT status) override;

 private:
  void on_show_window();
  void on_companion_button();
  void on_add_task();
  void on_edit_task();
  void on_remove_task();

  void show_companion(bool running, DWORD id);
  // The add button when there is no task, edit and remove when there is one,
  // none when the scheduler cannot be reached.
  void show_task_buttons(bool add, bool edit_and_remove);
  void refresh_task_buttons();
};

}  // namespace dravik
