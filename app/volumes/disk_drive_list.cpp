#include "volumes/disk_drive_list.h"

#include <iterator>

#include "startup/program_texts.h"
#include "vemo/settings.h"
#include "volumes/fixed_drives.h"

namespace tessarel {
namespace {

// The absolute path of the image file that a settings key names.
std::wstring skin_file(const char* key) {
  vemo::mapcfg* const settings = vemo::settings();
  if (settings == nullptr) throw vemo::cfg_error(key);
  std::wstring name;
  settings->get(key, name);
  vemo::make_program_path(*settings, name);
  return name;
}

}  // namespace

disk_drive_list::disk_drive_list()
    : check_glf(skin_file("check_box_unselected_img"), skin_file("check_box_selected_img")) {}

disk_drive_list::~disk_drive_list() = default;

void disk_drive_list::fill() {
  clear();
  letters_.clear();
  add_image_row({registry_row_name}, {skin_file("registry_img")});
  const std::wstring volume_image = skin_file("volume_img");
  list_fixed_drives(letters_);
  for (const wchar_t letter : letters_) add_image_row({std::wstring{letter, L':'}}, {volume_image});
}

std::wstring disk_drive_list::checked_letters() const {
  std::wstring checked;
  if (rows().empty()) return checked;
  std::size_t index = 0;
  for (auto row = std::next(rows().begin()); row != rows().end(); ++row, ++index) {
    if (row->checked != 0 && index < letters_.size()) checked += letters_[index];
  }
  return checked;
}

volume_job disk_drive_list::selection() const {
  volume_job job;
  job.letters = checked_letters();
  job.registry = !rows().empty() && rows().front().checked != 0 ? 1 : 0;
  job.phase = 0;
  return job;
}

void disk_drive_list::on_lbutton_down(WPARAM keys, WORD x, WORD y) {
  if (refuse_click_ && refuse_click_()) return;
  check_glf::on_lbutton_down(keys, x, y);
}

wchar_t disk_drive_list::current_letter() const {
  const int row = current_row();
  if (row == -1) return letters_.empty() ? L'\0' : letters_[0];
  if (row < 1 || static_cast<std::size_t>(row) > letters_.size()) return L'\0';
  return letters_[static_cast<std::size_t>(row) - 1];
}

}  // namespace tessarel
