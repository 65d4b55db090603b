#pragma once
// The control interface of the stand-in engine: the program's tests script
// what the stand-in dravik.dll answers and read the journal of every call it
// received. It lives in a library of its own (stand_in_control.dll), which the
// test executable and the stand-in both load, so the stand-in's export table
// holds exactly the engine's exports. Any thread.

#include <windows.h>

#include <cstdint>

#include "dravik/cell_file_list.h"
#include "dravik/file_extent_info.h"
#include "dravik/volume_info.h"
#include "dravik/working_status.h"

#ifdef STAND_IN_CONTROL_BUILD
#define STAND_IN_CONTROL_API __declspec(dllexport)
#else
#define STAND_IN_CONTROL_API __declspec(dllimport)
#endif

// One call the stand-in received.
struct stand_in_call {
  char export_name[40];  // "DLL_AnalyseVolume"
  DWORD thread_id;       // the calling thread
  char text[260];        // the letters or the path, "" for other exports
  int first;             // the letter, kind or mode; 0 when the export takes none
  int second;            // the cell, or the number of issue groups
};

extern "C" {

// --- For the tests ---

// Empty journal, all records zero, colour table all 0, no file list, null
// for the file and volume records, flags false, runs not held.
STAND_IN_CONTROL_API void stand_in_reset(void);

// From now on a run export blocks until stand_in_release_runs or
// DLL_WorkingStop; both let every held run return, and later runs too.
STAND_IN_CONTROL_API void stand_in_hold_runs(void);
STAND_IN_CONTROL_API void stand_in_release_runs(void);

// Waits until the journal holds at least count calls of export_name. False
// when timeout_ms pass first.
STAND_IN_CONTROL_API bool stand_in_wait_for_calls(const char* export_name, int count,
                                                  DWORD timeout_ms);

// The journal: number of calls, and a copy of call index (false when out
// of range).
STAND_IN_CONTROL_API int stand_in_call_count(void);
STAND_IN_CONTROL_API bool stand_in_read_call(int index, stand_in_call* call);

// What the query exports return. The stand-in copies status, codes (1000),
// info and volume; null codes make DLL_GetVolumeColorTable return null, null
// info or volume make their exports return null. files stays the caller's
// and is returned for every cell; null gives an empty list.
STAND_IN_CONTROL_API void stand_in_set_status(const WorkingStatus* status);
STAND_IN_CONTROL_API void stand_in_set_colours(const int32_t* codes);
STAND_IN_CONTROL_API void stand_in_set_file_list(CellFileList* files);
STAND_IN_CONTROL_API void stand_in_set_file_info(const FileExtentInfo* info);
STAND_IN_CONTROL_API void stand_in_set_volume_info(const VolumeInfo* volume);
STAND_IN_CONTROL_API void stand_in_set_flags(bool logout, bool restart, bool auto_run);

// --- For the stand-in engine ---

STAND_IN_CONTROL_API void stand_in_journal(const char* export_name, const char* text,
                                           int first, int second);
// Returns once runs are not held.
STAND_IN_CONTROL_API void stand_in_run_gate(void);
STAND_IN_CONTROL_API WorkingStatus* stand_in_status(void);
STAND_IN_CONTROL_API int32_t* stand_in_colours(void);
STAND_IN_CONTROL_API CellFileList* stand_in_file_list(void);
STAND_IN_CONTROL_API FileExtentInfo* stand_in_file_info(void);
STAND_IN_CONTROL_API VolumeInfo* stand_in_volume_info(void);
// 0 logout, 1 restart, 2 run at start-up.
STAND_IN_CONTROL_API bool stand_in_flag(int which);
}
