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

// Backslashes to slashes, character by character: in code page 936 the second
// byte of a double-byte character may be 0x5C, and turning that byte into a
// slash would name another folder.
void use_forward_slashes(std::string& address) {
  for (std::size_t i = 0; i < address.size(); ++i) {
    const auto byte = static_cast<BYTE>(address[i]);
    if (IsDBCSLeadByteEx(CP_ACP, byte)) {
      ++i;
    } else if (byte == '\\') {
      address[i] = '/';
    }
  }
}

}  // namespace

std::string report_set_page(int kind, bool registry_report_present) {
  if (kind == 1) {
    return registry_report_present ? "registryanalysisreport.html" : "analysisreport.html";
  }
  return registry_report_present ? "registrydefragreport.html" : "defragreport.html";
}

std::string report_set_address(int kind, const std::string& application_folder,
                               bool registry_report_present) {
  std::string address =
      "file:///" + application_folder + report_set_page(kind, registry_report_present);
  use_forward_slashes(address);
  return address;
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
