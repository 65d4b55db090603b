#pragma once
// The engine's entry points the program calls, looked up by name in the
// loaded library. Each pointer's type is written from the export's own
// declaration, so a changed signature breaks the program's build too.

#include <windows.h>

#include <string>
#include <type_traits>

#include "dravik/advance_exports.h"
#include "dravik/option_exports.h"
#include "dravik/report_exports.h"
#include "dravik/run_exports.h"
#include "dravik/volume_exports.h"

namespace tessarel {

using run_export = decltype(&DLL_AnalyseVolume);
static_assert(std::is_same_v<run_export, decltype(&DLL_DefragVolume)> &&
                  std::is_same_v<run_export, decltype(&DLL_OptimizedDefragVolume)>,
              "the job threads call the three run exports alike");

struct engine_entry_points {
  // The run exports: called on job threads only, each blocks until the
  // engine's workers have ended.
  run_export analyse_volume = nullptr;
  run_export defrag_volume = nullptr;
  run_export optimized_defrag_volume = nullptr;

  // User interface thread.
  decltype(&DLL_GetVolumeColorTable) get_volume_color_table = nullptr;
  decltype(&DLL_GetVolumeSectorFilesList) get_volume_sector_files_list = nullptr;
  decltype(&DLL_GetVolumeSectorFileInfo) get_volume_sector_file_info = nullptr;
  decltype(&DLL_Options) options = nullptr;
  decltype(&DLL_Advance) advance = nullptr;
  decltype(&DLL_SetCurrentVolume) set_current_volume = nullptr;
  decltype(&DLL_WorkingStop) working_stop = nullptr;
  decltype(&DLL_GetWorkingStatus) get_working_status = nullptr;
  decltype(&DLL_GetLogout) get_logout = nullptr;
  decltype(&DLL_GetRestart) get_restart = nullptr;
  decltype(&DLL_GetVolumeInfo) get_volume_info = nullptr;
  decltype(&DLL_ShowReport) show_report = nullptr;

  // For the registry scanner's report hook; called on its worker thread.
  decltype(&DLL_SaveRegistryReport) save_registry_report = nullptr;
};

// Looks every entry point up in module by its exported name. Throws
// engine_binding_error naming the first one missing (library_name says
// which library); on return, no pointer is null.
engine_entry_points bind_entry_points(HMODULE module, const std::wstring& library_name);

}  // namespace tessarel
