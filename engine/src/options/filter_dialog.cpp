#include "options/filter_dialog.h"

#include "options/dialog_keys.h"
#include "resources/filter_dialog_ids.h"

namespace dravik {

Filter::Filter() : CDialog(IDD_FILTER) {}

void Filter::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, IDC_FILTER_FOLDERS, folder_text);
  DDX_Text(dx, IDC_FILTER_FILES, file_text);
  DDX_Text(dx, IDC_FILTER_TYPES, type_text);
  DDX_Check(dx, IDC_FILTER_AUTO_RUN, auto_run_check);
  DDX_Check(dx, IDC_FILTER_LOGOUT, logout_check);
  DDX_Check(dx, IDC_FILTER_RESTART, restart_check);
}

BOOL Filter::PreTranslateMessage(MSG* msg) {
  if (is_enter_or_escape_key(*msg)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

bool Filter::OnCommand(WORD id, WORD notification, HWND control) {
  if (notification == BN_CLICKED) {
    switch (id) {
      case IDOK:
        on_ok();
        return true;
      case IDC_FILTER_LOGOUT:
        on_logout_click();
        return true;
      case IDC_FILTER_RESTART:
        on_restart_click();
        return true;
      case IDCANCEL:
        on_cancel();
        return true;
      default:
        break;
    }
  }
  return CDialog::OnCommand(id, notification, control);
}

void Filter::OnShowWindow(BOOL show, UINT status) {
  CDialog::OnShowWindow(show, status);
  on_show_window();
}

// Saved on every show and hide: what the members hold when the dialog
// appears is what Cancel returns to.
void Filter::on_show_window() {
  saved_folder_text = folder_text;
  saved_file_text = file_text;
  saved_type_text = type_text;
  saved_auto_run_check = auto_run_check;
  saved_restart_check = restart_check;
  saved_logout_check = logout_check;
}

void Filter::on_cancel() {
  folder_text = saved_folder_text;
  file_text = saved_file_text;
  type_text = saved_type_text;
  auto_run_check = saved_auto_run_check;
  restart_check = saved_restart_check;
  logout_check = saved_logout_check;
  CDialog::OnCancel();
}

void Filter::on_ok() {
  UpdateData(TRUE);
  CDialog::OnOK();
}

// Shutting down and restarting after defragmentation exclude each other:
// checking one clears the other.
void Filter::on_logout_click() {
  UpdateData(TRUE);
  if (logout_check) restart_check = 0;
  UpdateData(FALSE);
}

void Filter::on_restart_click() {
  UpdateData(TRUE);
  if (restart_check) logout_check = 0;
  UpdateData(FALSE);
}

}  // namespace dravik
