// A stand-in dravik.dll for the program's tests: the engine's 18 exports with
// the engine's own declarations, each journalled with its calling thread
// (stand_in_control.h). Run exports wait at the control's gate and return 1;
// the queries return what the test set. No volume is ever touched.
#include "dravik/advance_exports.h"
#include "dravik/option_exports.h"
#include "dravik/report_exports.h"
#include "dravik/run_exports.h"
#include "dravik/volume_exports.h"
#include "stand_in_engine/stand_in_control.h"

namespace {

int run(const char* export_name, const char* letters) {
  stand_in_journal(export_name, letters, 0, 0);
  stand_in_run_gate();
  return 1;
}

}  // namespace

extern "C" {

int __cdecl DLL_AnalyseVolume(const char* letters) { return run("DLL_AnalyseVolume", letters); }

int __cdecl DLL_DefragVolume(const char* letters) { return run("DLL_DefragVolume", letters); }

int __cdecl DLL_OptimizedDefragVolume(const char* letters) {
  return run("DLL_OptimizedDefragVolume", letters);
}

int32_t* __cdecl DLL_GetVolumeColorTable(int letter) {
  stand_in_journal("DLL_GetVolumeColorTable", "", letter, 0);
  return stand_in_colours();
}

int32_t __cdecl DLL_GetVolumeSectorColor(int letter, int cell) {
  stand_in_journal("DLL_GetVolumeSectorColor", "", letter, cell);
  const int32_t* codes = stand_in_colours();
  return codes && cell >= 0 && cell < 1000 ? codes[cell] : 0;
}

CellFileList* __cdecl DLL_GetVolumeSectorFilesList(int letter, int cell) {
  stand_in_journal("DLL_GetVolumeSectorFilesList", "", letter, cell);
  return stand_in_file_list();
}

FileExtentInfo* __cdecl DLL_GetVolumeSectorFileInfo(const char* path) {
  stand_in_journal("DLL_GetVolumeSectorFileInfo", path, 0, 0);
  return stand_in_file_info();
}

void __cdecl DLL_SetCurrentVolume(int letter) {
  stand_in_journal("DLL_SetCurrentVolume", "", letter, 0);
}

WorkingStatus* __cdecl DLL_GetWorkingStatus(void) {
  stand_in_journal("DLL_GetWorkingStatus", "", 0, 0);
  return stand_in_status();
}

// A stop ends every held run, as the engine's workers end at their next check.
void __cdecl DLL_WorkingStop(void) {
  stand_in_journal("DLL_WorkingStop", "", 0, 0);
  stand_in_release_runs();
}

void __cdecl DLL_Options(void) { stand_in_journal("DLL_Options", "", 0, 0); }

bool __cdecl DLL_GetLogout(void) {
  stand_in_journal("DLL_GetLogout", "", 0, 0);
  return stand_in_flag(0);
}

bool __cdecl DLL_GetRestart(void) {
  stand_in_journal("DLL_GetRestart", "", 0, 0);
  return stand_in_flag(1);
}

bool __cdecl DLL_GetAutoRun(void) {
  stand_in_journal("DLL_GetAutoRun", "", 0, 0);
  return stand_in_flag(2);
}

VolumeInfo* __cdecl DLL_GetVolumeInfo(int letter) {
  stand_in_journal("DLL_GetVolumeInfo", "", letter, 0);
  return stand_in_volume_info();
}

int __cdecl DLL_Advance(void) {
  stand_in_journal("DLL_Advance", "", 0, 0);
  return 1;
}

void __cdecl DLL_SaveRegistryReport(dravik::issue_groups* groups, int mode) {
  stand_in_journal("DLL_SaveRegistryReport", "", mode,
                   groups ? static_cast<int>(groups->size()) : -1);
}

void __cdecl DLL_ShowReport(int kind) { stand_in_journal("DLL_ShowReport", "", kind, 0); }
}
