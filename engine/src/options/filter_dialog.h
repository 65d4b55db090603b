#pragma once
// The options dialog: the three exclusion texts (entries separated by ";")
// and three check boxes. Its values persist between showings; Cancel puts
// back the values the dialog had when it appeared. The engine's state owns
// the one the engine shows; user interface thread only.

#include "classlib/dialog.h"

#include <string>

namespace dravik {

class Filter : public CDialog {
 public:
  Filter();

  // Bound to edits 101, 102, 103 (ANSI texts, blanks as typed).
  std::string folder_text;
  std::string file_text;
  std::string type_text;
  std::string saved_folder_text;
  std::string saved_file_text;
  std::string saved_type_text;
  // Bound to check boxes 104, 106, 105.
  int auto_run_check = 0;
  int restart_check = 0;
  int logout_check = 0;
  int saved_auto_run_check = 0;
  int saved_restart_check = 0;
  int saved_logout_check = 0;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  bool OnCommand(WORD id, WORD notification, HWND control) override;
  void OnShowWindow(BOOL show, UINT status) override;

 private:
  void on_ok();
  void on_cancel();
  void on_logout_click();
  void on_restart_click();
  void on_show_window();
};

}  // namespace dravik
