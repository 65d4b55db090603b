#pragma once
// The report exports of dravik.dll (plain C names, caller cleans up). Both
// return nothing and report no failure.

#include "dravik/registry_issue.h"

namespace dravik {

// The modes of DLL_SaveRegistryReport.
enum registry_report_mode : int {
  // After a complete scan-only run.
  registry_report_scan = 1,
  // After the scan part of a scan-and-clean run, before deleting, and again
  // once the clean has ended.
  registry_report_clean = 2,
  // A scan-and-clean run that a stop ended: the page and index of mode 2,
  // but the registry report stays out of the next report set, as the stop
  // left it.
  registry_report_stopped_clean = 4,
};

}  // namespace dravik

extern "C" {

// Writes "registryreport.html" from the issues of groups, rewrites the index
// page of the mode with the Registry cell, and (but after a stopped clean)
// marks the registry report as part of the next report set; the modes are
// registry_report_mode's. The caller keeps groups; the engine only reads it
// during the call. Runs on the registry scanner's thread while no engine
// worker runs.
void __cdecl DLL_SaveRegistryReport(dravik::issue_groups* groups, int mode);

// Opens the report set through the shell: kind 1 after an analysis job, any
// other kind after a defragmentation job; the registry variant when a registry
// report was written since the last call. Runs on a job thread of the host.
void __cdecl DLL_ShowReport(int kind);
}
