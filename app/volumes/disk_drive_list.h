#pragma once
// The check list at the left of the main window: a "Registry" row, then one
// row per fixed drive, each with an image and a check box. A click toggles a
// row, makes it the current row and tells the parent (WM_COMMAND, code 1).
// The images come from the process's settings (vemo::settings()), which
// must be open. User interface thread only.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "job/volume_job.h"
#include "vemo/check_glf.h"

namespace tessarel {

class disk_drive_list : public vemo::check_glf {
 public:
  // The check boxes from settings keys "check_box_unselected_img" and
  // "check_box_selected_img". Throws vemo::cfg_error for a missing key.
  disk_drive_list();
  ~disk_drive_list() override;

  // Empties the rows and letters and adds the Registry row (image
  // "registry_img") and a row "X:" per fixed drive in ascending order (image
  // "volume_img"). The current row keeps its value. Throws vemo::cfg_error
  // for a missing key.
  void fill();

  // The letters of the checked volume rows, in row order (not click order);
  // the Registry row is not looked at.
  std::wstring checked_letters() const;

  // The checked letters, the Registry row's check state, phase 0.
  volume_job selection() const;

  // The drive of the current row: row r >= 1 gives the letter of volume row
  // r; no current row (-1) gives the first fixed drive. The Registry row
  // (0), or a machine without a fixed drive, gives 0: callers then make no
  // engine call for it.
  wchar_t current_letter() const;

  // The drive letter of volume row i + 1 at index i.
  const std::vector<wchar_t>& letters() const { return letters_; }

  // Asked before a click is taken: true refuses it (the refusal says why),
  // and the click then toggles no box, moves no current row and tells the
  // parent nothing. Empty: every click is taken.
  void set_click_refusal(std::function<bool()> refuse) { refuse_click_ = std::move(refuse); }

 protected:  // Override these.
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;

 private:
  std::vector<wchar_t> letters_;
  std::function<bool()> refuse_click_;
};

}  // namespace tessarel
