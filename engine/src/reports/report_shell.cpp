#include "reports/report_shell.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace dravik {
namespace {

void shell_execute(const char* address) {
  ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

std::atomic<shell_open_function> shell_open{&shell_execute};

}  // namespace

std::string report_set_page(int kind, bool registry_report_present) {
  if (kind == 1) {
    return registry_report_present ? "registryanalysisreport.html" : "analysisreport.html";
  }
  return registry_report_present ? "registrydefragreport.html" : "defragreport.html";
}

// The plain path, not a file: address: in an address a "%" or "#" of the
// folder's name would be read as an escape or the start of a fragment (a
// folder C:\a%41b would open C:\aAb), and a double-byte name would need its
// bytes escaped as well. The shell takes a path as it is.
std::string report_set_address(int kind, const std::string& application_folder,
                               bool registry_report_present) {
  return application_folder + report_set_page(kind, registry_report_present);
}

shell_open_function install_report_shell(shell_open_function open) {
  return shell_open.exchange(open != nullptr ? open : &shell_execute);
}

void show_report(int kind, const std::string& application_folder,
                 std::atomic<std::int32_t>& registry_report_present) {
  const std::string address =
      report_set_address(kind, application_folder, registry_report_present.load() != 0);
  shell_open.load()(address.c_str());
  registry_report_present.store(0);
}

}  // namespace dravik
