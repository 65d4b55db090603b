#include "options/engine_options.h"

#include "classlib/message_box.h"
#include "options/exclusion_lists.h"
#include "options/filter_dialog.h"
#include "options/option_flags_file.h"
#include "options/preset_file.h"
#include "options/run_key_entry.h"

namespace dravik {

namespace {

std::string preset_path(const std::string& application_folder) {
  return application_folder + "preset.ini";
}

std::string setting_path(const std::string& application_folder) {
  return application_folder + "Setting";
}

}  // namespace

void read_presets(const std::string& application_folder, option_values& values, Filter& dialog) {
  // Assigning rather than appending makes a second call (a test, a reload)
  // start from the built-ins again instead of listing them twice.
  values.excluded_folders = builtin_folder_exclusions();
  values.excluded_files.clear();
  dialog.folder_text.clear();
  dialog.file_text.clear();
  dialog.type_text.clear();

  std::string bytes;
  if (!read_preset_file(preset_path(application_folder), bytes)) return;
  preset_contents contents = parse_presets(bytes);
  values.excluded_folders.insert(values.excluded_folders.end(), contents.folders.begin(),
                                 contents.folders.end());
  values.excluded_files = std::move(contents.files);
  dialog.folder_text = std::move(contents.folder_text);
  dialog.file_text = std::move(contents.file_text);
  dialog.type_text = std::move(contents.type_text);
}

bool read_option_flags(const std::string& application_folder, option_values& values,
                       Filter& dialog) {
  const option_flag_refs flags{values.auto_run_flag, values.logout_flag, values.restart_flag,
                               values.companion_run_flag};
  if (!read_option_flags_file(setting_path(application_folder), flags)) return false;
  dialog.auto_run_check = flags.auto_run;
  dialog.logout_check = flags.logout;
  dialog.restart_check = flags.restart;
  return true;
}

bool write_option_flags(const std::string& application_folder, const option_values& values) {
  // The file's writer takes the flags by reference; it only reads them.
  int auto_run = values.auto_run_flag;
  int logout = values.logout_flag;
  int restart = values.restart_flag;
  int companion_run = values.companion_run_flag;
  return write_option_flags_file(setting_path(application_folder),
                                 {auto_run, logout, restart, companion_run});
}

void show_options_dialog(Filter& dialog, const engine_option_state& state) {
  if (dialog.DoModal() != IDOK) return;
  apply_options(dialog, state);
}

void apply_options(const Filter& dialog, const engine_option_state& state) {
  const std::vector<std::string> folders = split_entries(dialog.folder_text);
  const std::vector<std::string> files = split_entries(dialog.file_text);
  const std::vector<std::string> types = split_entries(dialog.type_text);

  // The file is replaced first and the lists only when that worked, so a
  // "preset.ini" that cannot be written leaves the old file and the lists
  // that match it.
  if (write_preset_file(preset_path(state.application_folder),
                        format_presets(folders, files, types))) {
    folder_exclusions new_folders = builtin_folder_exclusions();
    for (const std::string& entry : folders) add_folder_exclusion(new_folders, entry);
    file_exclusions new_files;
    for (const std::string& entry : files)
      add_file_exclusion(new_files, entry, file_exclusion_kind::file);
    for (const std::string& entry : types)
      add_file_exclusion(new_files, entry, file_exclusion_kind::type);
    state.values.excluded_folders = std::move(new_folders);
    state.values.excluded_files = std::move(new_files);
  } else {
    AfxMessageBox("无法写入 preset.ini，筛选项目未更改.");
  }

  option_values& values = state.values;
  if ((dialog.auto_run_check != 0) != (values.auto_run_flag != 0)) {
    // The flag follows the dialog whatever the registry does; a failure has
    // been shown to the user.
    values.auto_run_flag = dialog.auto_run_check;
    update_run_entry("Tessarel", values.auto_run_flag != 0, state.host_executable_path);
  }
  values.logout_flag = dialog.logout_check;
  values.restart_flag = dialog.restart_check;
}

}  // namespace dravik
