#pragma once
// The schedule dialog: the user picks the volumes the scheduled task is to
// defragment. Built for one showing by the advanced dialog's add command.

#include "classlib/dialog.h"
#include "advanced/sel_volume_list.h"

#include <functional>
#include <memory>
#include <string>

namespace dravik {

class Advance;

// The size text of a drive letter's volume (as recorded at load), shown next
// to the letter.
using volume_size_text = std::function<std::string(char letter)>;

class ScheduleDlg : public CDialog {
 public:
  // owner receives the chosen letters in schedule_letters on OK.
  ScheduleDlg(Advance* owner, volume_size_text size_text);
  ~ScheduleDlg() override;

  std::unique_ptr<SelVolumeList> volume_list;  // created with the dialog
  Advance* owner;

 protected:
  // Creates the volume list with one row per fixed drive C to Z.
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notification, HWND control) override;

 private:
  void on_ok();

  volume_size_text size_text_;
};

}  // namespace dravik
