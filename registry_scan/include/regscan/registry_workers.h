#pragma once
// The two registry workers. Each resets the store, runs the seven phases in
// scan order and reports through the hooks of scan_hooks.h; the scan-and-
// clean run then deletes the open issues. One worker runs at a time.
//
// Both entries have the shape _beginthreadex expects, so the owner can keep
// the thread handle and wait for it before it unloads the engine whose
// report export the worker calls. The argument is ignored; they return 0.
// No exception leaves them.

namespace regscan {

// Scan only. Ends with one type-2 record. After a complete scan the report
// is handed over with mode 1; a stop (scan_stop_flag) seen after one of the
// first six phases ends the run without a report. The flag is not tested
// after the seventh phase: a stop during it ends that phase early and the
// run then completes.
unsigned __stdcall registry_scan_thread(void* argument);

// Scan, then delete every open issue that is still a problem. Ends with one
// type-3 record. After the complete scan part the report is handed over
// with mode 2, before anything is deleted, and again with mode 2 when the
// clean has ended (also after a stop in it), its repaired issues marked; a
// hand-over made after a stop uses the stopped clean's mode instead, so the
// report stays out of the next job's report set. A stop (clean_stop_flag)
// after one of the first six phases ends the run with the end record alone;
// a stop during cleaning ends it after the group in hand has sent its step
// record. An issue found repaired since the scan is left alone and becomes
// a fine item ("Normal", fixed).
//
// Both workers turn critical-error boxes off for their thread while they run.
unsigned __stdcall registry_clean_thread(void* argument);

// The scan part of the clean run: true when all seven phases ran, false when
// a stop ended it early (then no record is sent for the phase that saw it).
bool scan_registry_for_clean();

}  // namespace regscan
