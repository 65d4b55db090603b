#include "options/engine_options.h"

#include "options/exclusion_lists.h"
#include "classlib/message_box.h"
#include "options/preset_file.h"
#include "options/run_key_entry.h"

namespace dravik {

namespace {

const engine_option_state* bound_state = nullptr;

std::string preset_path(const std::string& application_folder) {
  return application_folder + "preset.ini";
}

}  // namespace

void bind_engine_options(const engine_option_state* state) { bound_state = state; }

const engine_option_state* bound_engine_options() { return bound_state; }

void read_presets(const std::string& application_folder) {
  // Assigning rather than appending makes a second call (a test, a reload)
  // start from the built-ins again instead of listing them twice.
  excluded_folders = builtin_folder_exclusions();
  excluded_files.clear();
  filter_dialog.folder_text.clear();
  filter_dialog.file_text.clear();
  filter_dialog.type_text.clear();

  std::string bytes;
  if (!read_preset_file(preset_path(application_folder), bytes)) return;
  preset_contents contents = parse_presets(bytes);
  excluded_folders.insert(excluded_folders.end(), contents.folders.begin(), contents.folders.end());
  excluded_files = std::move(contents.files);
  filter_dialog.folder_text = std::move(contents.folder_text);
  filter_dialog.file_text = std::move(contents.file_text);
  filter_dialog.type_text = std::move(contents.type_text);
}

bool read_option_flags(const std::string& application_folder, const option_flag_refs& flags) {
  if (!read_option_flags_file(application_folder + "Setting", flags)) return false;
  filter_dialog.auto_run_check = flags.auto_run;
  filter_dialog.logout_check = flags.logout;
  filter_dialog.restart_check = flags.restart;
  return true;
}

bool write_option_flags(const std::string& application_folder, const option_flag_refs& flags) {
  return write_option_flags_file(application_folder + "Setting", flags);
}

void show_options_dialog(const engine_option_state& state) {
  if (filter_dialog.DoModal() != IDOK) return;
  apply_options(filter_dialog, state);
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
    excluded_folders = std::move(new_folders);
    excluded_files = std::move(new_files);
  } else {
    AfxMessageBox("无法写入 preset.ini，筛选项目未更改.");
  }

  option_flag_refs flags = state.flags;
  if (dialog.auto_run_check != flags.auto_run) {
    // The flag follows the dialog whatever the registry does; a failure has
    // been shown to the user.
    flags.auto_run = dialog.auto_run_check;
    update_run_entry("Tessarel", flags.auto_run != 0, state.host_executable_path);
  }
  flags.logout = dialog.logout_check;
  flags.restart = dialog.restart_check;
}

}  // namespace dravik
