#include "engine/engine_entry_points.h"

#include <string>

#include "engine/engine_binding_error.h"

namespace tessarel {
namespace {

template <class Pointer>
void look_up(HMODULE module, const char* name, const std::wstring& library_name,
             Pointer& entry) {
  const FARPROC found = GetProcAddress(module, name);
  if (found == nullptr) {
    throw engine_binding_error(L"引擎库 " + library_name + L" 缺少入口点 " +
                               std::wstring(name, name + std::char_traits<char>::length(name)));
  }
  entry = reinterpret_cast<Pointer>(reinterpret_cast<void*>(found));
}

}  // namespace

// The name looked up is the declared export's own, and the field must have
// its type: a misspelt name or a changed signature does not compile.
#define TESSAREL_BIND(field, export_name)                                              \
  static_assert(std::is_same_v<decltype(points.field), decltype(&export_name)>, \
                #export_name);                                                 \
  look_up(module, #export_name, library_name, points.field)

engine_entry_points bind_entry_points(HMODULE module, const std::wstring& library_name) {
  engine_entry_points points;
  TESSAREL_BIND(analyse_volume, DLL_AnalyseVolume);
  TESSAREL_BIND(defrag_volume, DLL_DefragVolume);
  TESSAREL_BIND(get_volume_color_table, DLL_GetVolumeColorTable);
  TESSAREL_BIND(get_volume_sector_files_list, DLL_GetVolumeSectorFilesList);
  TESSAREL_BIND(get_volume_sector_file_info, DLL_GetVolumeSectorFileInfo);
  TESSAREL_BIND(options, DLL_Options);
  TESSAREL_BIND(advance, DLL_Advance);
  TESSAREL_BIND(set_current_volume, DLL_SetCurrentVolume);
  TESSAREL_BIND(working_stop, DLL_WorkingStop);
  TESSAREL_BIND(get_working_status, DLL_GetWorkingStatus);
  TESSAREL_BIND(get_logout, DLL_GetLogout);
  TESSAREL_BIND(get_restart, DLL_GetRestart);
  TESSAREL_BIND(get_volume_info, DLL_GetVolumeInfo);
  TESSAREL_BIND(show_report, DLL_ShowReport);
  TESSAREL_BIND(optimized_defrag_volume, DLL_OptimizedDefragVolume);
  TESSAREL_BIND(save_registry_report, DLL_SaveRegistryReport);
  return points;
}

#undef TESSAREL_BIND

}  // namespace tessarel
