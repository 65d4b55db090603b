#include "advanced/schedule_dialog.h"

#include "classlib/message_box.h"
#include "resources/schedule_dialog_ids.h"
#include "platform/volume_io.h"

namespace dravik {

ScheduleDlg::ScheduleDlg(volume_size_text size_text)
    : CDialog(IDD_SCHEDULE), size_text_(std::move(size_text)) {}

ScheduleDlg::~ScheduleDlg() = default;

BOOL ScheduleDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (volume_list && volume_list->GetSafeHwnd()) return TRUE;

  RECT area{};
  GetClientRect(m_hWnd, &area);
  area.left = 10;
  area.top = 30;
  area.right -= 10;
  area.bottom -= 50;

  auto list = std::make_unique<SelVolumeList>();
  if (!list->Create(
          WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, area,
          m_hWnd, IDC_SCHEDULE_VOLUMES)) {
    // Without its list the dialog could only refuse every OK.
    EndDialog(-1);
    return TRUE;
  }
  list->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  list->InsertColumn(0, "   分卷", LVCFMT_LEFT, 120);
  list->InsertColumn(1, "大小", LVCFMT_LEFT, 100);
  list->add_select_all_box();

  volume_io& io = current_volume_io();
  int row = 0;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    if (io.get_drive_type(root) != DRIVE_FIXED) continue;
    const int item = list->InsertItem(row, std::string(1, letter));
    if (item < 0) continue;
    list->SetItemText(item, 1, size_text_ ? size_text_(letter) : std::string());
    ++row;
  }
  volume_list = std::move(list);
  return TRUE;
}

bool ScheduleDlg::OnCommand(WORD id, WORD notification, HWND control) {
  if (id == IDOK && notification == BN_CLICKED) {
    on_ok();
    return true;
  }
  return CDialog::OnCommand(id, notification, control);
}

void ScheduleDlg::on_ok() {
  std::string letters;
  if (volume_list) {
    const int count = volume_list->GetItemCount();
    for (int item = 0; item < count; ++item) {
      if (!volume_list->GetCheck(item)) continue;
      const std::string text = volume_list->GetItemText(item, 0);
      if (!text.empty()) letters += text[0];
    }
  }
  // The letters are checked too, not only the count: a task without letters
  // would start the program without a job.
  if (!volume_list || volume_list->checked_count == 0 || letters.empty()) {
    AfxMessageBox("请选择分卷.");
    return;
  }
  chosen_letters = letters;
  CDialog::OnOK();
}

}  // namespace dravik
