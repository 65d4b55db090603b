#pragma once
// The registry page "registryreport.html": one row per open issue of a scan.

#include <atomic>
#include <cstdint>
#include <string>

#include "dravik/registry_issue.h"
#include "reports/report_strings.h"

namespace dravik {

// Mode 1: after a scan-only run; writes the registry page with a row for
// every open issue (fixed byte 0) and their count. Mode 2: after the scan
// part of a scan-and-clean run, before anything is deleted, and again when
// the clean has ended; a row for every problem, open or repaired (fixed, but
// not a fine item, whose problem text is "Normal"), counted as found, and
// only the repaired ones counted as repaired. Texts are converted to the
// ANSI code page. Rewrites the mode's index page with the Registry cell
// alone and sets registry_report_present. Mode 4, after a clean that a stop
// ended: the page and index page of mode 2, but registry_report_present is
// left as the stop left it, so the next job's set has no registry page. Any
// other mode lists the open issues without caption or error count and
// writes no index page.
//
// When the registry page cannot be made (template missing or unreadable, page
// not writable) nothing else happens: no index page links to it and
// registry_report_present stays as it was. Returns whether the page was
// written.
bool save_registry_report(report_strings& strings, const std::string& application_folder,
                          const issue_groups& groups, int mode,
                          std::atomic<std::int32_t>& registry_report_present);

// UTF-16 to the ANSI code page, up to the first NUL; "" when it cannot be
// converted.
std::string ansi_text(const std::wstring& text);

}  // namespace dravik
