#pragma once
// The schedule dialog: the user picks the volumes the scheduled task is to
// defragment. Built for one showing by the advanced dialog's add command,
// which reads the chosen letters after it returns.

#include "classlib/dialog.h"
#include "advanced/sel_volume_list.h"

#include <memory>
#include <string>

namespace dravik {

class ScheduleDlg : public CDialog {
 public:
  explicit ScheduleDlg(volume_size_text size_text);
  ~ScheduleDlg() override;

  std::unique_ptr<SelVolumeList> volume_list;  // created with the dialog
  // Set by OK: the checked letters in list order, e.g. DE. Empty until then.
  std::string chosen_letters;

 protected:
  // Creates the volume list with one row per fixed drive C to Z.
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notification, HWND control) override;

 private:
  void on_ok();

  volume_size_text size_text_;
};

}  // namespace dravik
