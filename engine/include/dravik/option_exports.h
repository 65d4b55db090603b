#pragma once
// Exports of the engine's options: the options dialog and the three flags
// the program reads. Plain C names, caller cleans up. Call them on the user
// interface thread; DLL_Options only while no job runs.

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

// Shows the options dialog modally; when it is confirmed, rewrites
// "preset.ini", rebuilds the exclusion lists, adds or removes the start-up
// Run value and takes over the flags. Returns at once, changing nothing,
// while a job runs (the walkers read the lists) or while the dialog is
// already open (a call from inside its own loop).
void __cdecl DLL_Options(void);

// One-byte truth values of the option flags.
bool __cdecl DLL_GetAutoRun(void);  // run the program at Windows start-up
bool __cdecl DLL_GetLogout(void);   // shut the computer down after defragmentation
bool __cdecl DLL_GetRestart(void);  // restart the computer after defragmentation

#ifdef __cplusplus
}
static_assert(sizeof(bool) == 1, "the flag exports return one byte");
#endif
