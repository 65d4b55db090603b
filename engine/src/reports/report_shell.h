#pragma once
// Opening a report set: the page the job's kind calls for, handed to the
// shell by its full path.

#include <atomic>
#include <cstdint>
#include <string>

namespace dravik {

// The report-set page for kind 1 (analysis job) or any other kind
// (defragmentation job), in its registry variant when a registry report
// belongs to the set: "analysisreport.html", "registryanalysisreport.html",
// "defragreport.html" or "registrydefragreport.html".
std::string report_set_page(int kind, bool registry_report_present);

// The page's full path, folder + page, taken by the shell as it is (no
// escapes, so "%" and "#" in the folder's name are plain characters):
// C:\Apps\Defrag\analysisreport.html.
std::string report_set_address(int kind, const std::string& application_folder,
                               bool registry_report_present);

// Opens an address. The default hands it to ShellExecuteA (default verb,
// shown normally) and ignores the result; tests install a recorder.
using shell_open_function = void (*)(const char* address);

// Installs open (null restores the default) and returns the one it replaces.
shell_open_function install_report_shell(shell_open_function open);

// Opens the report set of kind and clears registry_report_present, so the
// next job's set starts without the registry page.
void show_report(int kind, const std::string& application_folder,
                 std::atomic<std::int32_t>& registry_report_present);

}  // namespace dravik
