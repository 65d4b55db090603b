#include "advanced/advance_dialog.h"

#include "resources/advance_dialog_ids.h"
#include "advanced/com_ptr.h"
#include "advanced/companion_process.h"
#include "options/dialog_keys.h"
#include "classlib/message_box.h"
#include "advanced/schedule_dialog.h"
#include "advanced/scheduled_task.h"

namespace dravik {

Advance::Advance() : CDialog(IDD_ADVANCE) {}

void Advance::DoDataExchange(CDataExchange* dx) {
  DDX_Check(dx, IDC_ADVANCE_COMPANION_RUN, companion_run_check);
}

BOOL Advance::PreTranslateMessage(MSG* msg) {
  if (is_enter_or_escape_key(*msg)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

bool Advance::OnCommand(WORD id, WORD notification, HWND control) {
  if (notification == BN_CLICKED) {
    switch (id) {
      case IDC_ADVANCE_ADD_TASK:
        on_add_task();
        return true;
      case IDC_ADVANCE_EDIT_TASK:
        on_edit_task();
        return true;
      case IDC_ADVANCE_REMOVE_TASK:
        on_remove_task();
        return true;
      case IDC_ADVANCE_COMPANION:
        on_companion_button();
        return true;
      default:
        break;
    }
  }
  return CDialog::OnCommand(id, notification, control);
}

void Advance::OnShowWindow(BOOL show, UINT status) {
  CDialog::OnShowWindow(show, status);
  on_show_window();
}

void Advance::show_companion(bool running, DWORD id) {
  companion_running = running ? 1 : 0;
  companion_pid = running ? id : 0;
  SetDlgItemTextW(m_hWnd, IDC_ADVANCE_COMPANION, wide_from_936(running ? "关闭" : "开启").c_str());
}

void Advance::show_task_buttons(bool add, bool edit_and_remove) {
  EnableWindow(GetDlgItem(m_hWnd, IDC_ADVANCE_ADD_TASK), add);
  EnableWindow(GetDlgItem(m_hWnd, IDC_ADVANCE_EDIT_TASK), edit_and_remove);
  EnableWindow(GetDlgItem(m_hWnd, IDC_ADVANCE_REMOVE_TASK), edit_and_remove);
}

// COM must be initialised.
void Advance::refresh_task_buttons() {
  switch (find_schedule_task()) {
    case task_lookup::found:
      show_task_buttons(false, true);
      break;
    case task_lookup::not_found:
      show_task_buttons(true, false);
      break;
    case task_lookup::no_scheduler:
      show_task_buttons(false, false);
      break;
  }
}

// On every show and hide: the companion as the process list has it now, and
// the task buttons as the task folder has it.
void Advance::on_show_window() {
  const std::optional<DWORD> companion = find_companion();
  show_companion(companion.has_value(), companion.value_or(0));

  const com_session com;
  if (!com.ok()) {
    show_task_buttons(false, false);
    return;
  }
  refresh_task_buttons();
}

void Advance::on_companion_button() {
  if (companion_running) {
    end_companion(companion_pid);
    // Whatever became of that process, the button shows what is running now.
    const std::optional<DWORD> companion = find_companion();
    show_companion(companion.has_value(), companion.value_or(0));
    return;
  }
  // A companion that could not be started or never showed up leaves the
  // button offering to start it.
  const std::optional<DWORD> started = start_companion(working_folder);
  show_companion(started.has_value(), started.value_or(0));
}

void Advance::on_add_task() {
  char user[256] = {};
  DWORD user_size = sizeof user;
  if (!GetUserNameA(user, &user_size)) user[0] = '\0';

  ScheduleDlg schedule(size_text);
  if (schedule.DoModal() != IDOK) return;
  schedule_letters = schedule.chosen_letters;

  const com_session com;
  if (!com.ok()) {
    AfxMessageBox("创建任务失败.");
    return;
  }
  SYSTEMTIME today{};
  GetLocalTime(&today);
  const std::optional<task_settings> settings =
      make_task_settings(user, program_path, schedule_letters, working_folder, today);
  const bool created = settings && create_schedule_task(*settings, true);
  if (!created) AfxMessageBox("创建任务失败.");
  // The buttons follow the task folder, not the calls' results: a task that
  // was not saved must not look as if it existed.
  refresh_task_buttons();
}

void Advance::on_edit_task() {
  const com_session com;
  if (!com.ok() || !edit_schedule_task()) AfxMessageBox("编辑任务失败.");
}

void Advance::on_remove_task() {
  const com_session com;
  if (!com.ok()) {
    AfxMessageBox("删除任务失败.");
    return;
  }
  if (!delete_schedule_task()) AfxMessageBox("删除任务失败.");
  refresh_task_buttons();
}

}  // namespace dravik
