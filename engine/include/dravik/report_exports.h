#pragma once
// The report exports of dravik.dll (plain C names, caller cleans up). Both
// return nothing and report no failure.

#include "dravik/registry_issue.h"

extern "C" {

// Writes "registryreport.html" from the open issues (fixed byte 0) of groups,
// rewrites the index page of the mode with the Registry cell, and marks the
// registry report as part of the next report set. Mode 1: after a scan-only
// run; mode 2: after the scan part of a scan-and-clean run, before deleting.
// The caller keeps groups; the engine only reads it during the call. Runs on
// the registry scanner's thread while no engine worker runs.
void __cdecl DLL_SaveRegistryReport(dravik::issue_groups* groups, int mode);

// Opens the report set through the shell: kind 1 after an analysis job, any
// other kind after a defragmentation job; the registry variant when a registry
// report was written since the last call. Runs on a job thread of the host.
void __cdecl DLL_ShowReport(int kind);
}
