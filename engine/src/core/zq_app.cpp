#include "core/zq_app.h"

#include "advanced/advance_dialog.h"
#include "files/application_folder.h"
#include "files/disk_data_file.h"
#include "core/engine_state.h"
#include "options/filter_dialog.h"
#include "volume/fixed_volumes.h"
#include "files/stdio_file.h"

namespace dravik {

CZQApp::CZQApp(engine_state& engine) noexcept : engine_(engine) {}

BOOL CZQApp::InitInstance() {
  CWinApp::InitInstance();

  engine_globals& globals = engine_.globals;
  globals.host_executable_path = engine_.load_options.host_executable_path.empty()
                                     ? running_executable_path()
                                     : engine_.load_options.host_executable_path;
  globals.application_folder = folder_of_path(globals.host_executable_path);
  application_folder_ = globals.application_folder;
  Advance& advance_dialog = *engine_.advance_dialog;
  advance_dialog.working_folder = globals.application_folder;
  advance_dialog.program_path = globals.host_executable_path;

  // The volume tables, the colour table and the flags are freshly built with
  // the engine's state, so nothing here needs resetting.

  option_values& options = engine_.options;
  read_presets(globals.application_folder, options, *engine_.filter_dialog);
  if (read_option_flags(globals.application_folder, options, *engine_.filter_dialog))
    advance_dialog.companion_run_check = options.companion_run_flag;

  const stdio_file disk_data = open_stdio_file(globals.application_folder + "diskdata", "rb");
  globals.fixed_volume_count =
      record_fixed_volumes(engine_.volumes, engine_.work.bitmap, engine_.cursor, disk_data.get());
  // The library always finishes loading: a volume that did not open simply
  // has no map.
  return TRUE;
}

int CZQApp::ExitInstance() {
  save_engine_state(engine_);
  // A worker that outlived the unload's wait still uses the maps and lists.
  if (!workers_running(engine_.job)) free_volume_maps(engine_);
  return CWinApp::ExitInstance();
}

void save_engine_state(const engine_state& engine) {
  const engine_globals& globals = engine.globals;
  if (globals.fixed_volume_count > 0) {
    // "r+b" opens an existing file for writing without truncating it and
    // fails on a missing one: only the slots written change.
    const stdio_file disk_data = open_stdio_file(globals.application_folder + "diskdata", "r+b");
    if (disk_data) {
      for (int slot = 0; slot < slot_count; ++slot) {
        const volume_table_entry& entry = engine.volumes[slot];
        if (entry.cells != nullptr) write_cell_map(disk_data.get(), slot, *entry.cells);
      }
    }
  }

  write_option_flags(globals.application_folder, engine.options);
}

void free_volume_maps(engine_state& engine) noexcept {
  for (int slot = 0; slot < slot_count; ++slot) {
    engine.volumes[slot].cells.reset();
    engine.file_lists[slot].clear();
  }
}

}  // namespace dravik
