#pragma once
// Export of the engine's advanced options. Plain C name, caller cleans up.
// Call it on the user interface thread, only while no job runs.

#ifdef __cplusplus
extern "C" {
#endif

// Shows the advanced dialog modally (the companion, its log-on entry and the
// scheduled task); when it is confirmed, adds or removes the companion's Run
// value. Returns the dialog's end code (1 when confirmed), -1 when the dialog
// could not be shown. Refused (-1 at once, nothing changed) while a job runs
// or while the dialog is already open (a call from inside its own loop).
int __cdecl DLL_Advance(void);

#ifdef __cplusplus
}
#endif
