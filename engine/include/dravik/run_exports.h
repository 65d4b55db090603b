#pragma once
// The run exports of dravik.dll and the status they report (plain C names,
// caller cleans up).
//
// A run export is called on a job thread of the host and blocks it until the
// engine's workers have ended; it always returns 1, for a stopped run, an
// empty letter string, a worker that could not start, and a call made while
// another run is still active (that call returns at once and changes
// nothing). letters: the ANSI drive letters of the job in order, such as
// "CD"; at most 255 are taken, and null is taken as empty.

#include "dravik/working_status.h"

extern "C" {

int __cdecl DLL_AnalyseVolume(const char* letters);
// Analysis, then defragmentation unless the analysis was stopped.
int __cdecl DLL_DefragVolume(const char* letters);
// Analysis, then defragmentation with the optimisation pass on each volume.
int __cdecl DLL_OptimizedDefragVolume(const char* letters);

// Refreshes and returns the engine's status record. The record is the
// engine's and is rewritten by the next call. User interface thread.
WorkingStatus* __cdecl DLL_GetWorkingStatus(void);

// Asks the running workers to stop (between volumes and between directory
// entries) and drops the registry report from the next report set. Returns
// at once; any thread.
void __cdecl DLL_WorkingStop(void);
}
