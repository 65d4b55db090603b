#include "dravik/report_exports.h"

#include "reports/registry_report.h"
#include "exports/report_binding.h"
#include "reports/report_shell.h"

namespace dravik {
namespace {

struct report_state {
  const std::string* application_folder = nullptr;
  std::atomic<std::int32_t>* registry_report_present = nullptr;
  report_strings* strings = nullptr;

  bool bound() const {
    return application_folder != nullptr && registry_report_present != nullptr &&
           strings != nullptr;
  }
};

report_state state;

}  // namespace

void bind_report_exports(const std::string& application_folder,
                         std::atomic<std::int32_t>& registry_report_present,
                         report_strings& strings) {
  state = report_state{&application_folder, &registry_report_present, &strings};
}

void unbind_report_exports() { state = report_state{}; }

}  // namespace dravik

extern "C" void __cdecl DLL_SaveRegistryReport(dravik::issue_groups* groups, int mode) {
  using namespace dravik;
  // A null container is no scan result: writing "0 errors found" for it
  // would report a clean registry that was never looked at.
  if (groups == nullptr || !state.bound()) return;
  try {
    save_registry_report(*state.strings, *state.application_folder, *groups, mode,
                         *state.registry_report_present);
  } catch (...) {
    // Out of memory while building the page: the host gets no report, as
    // with a missing template.
  }
}

extern "C" void __cdecl DLL_ShowReport(int kind) {
  using namespace dravik;
  if (!state.bound()) return;
  try {
    show_report(kind, *state.application_folder, *state.registry_report_present);
  } catch (...) {
    // Nothing is shown; the host goes on.
  }
}
