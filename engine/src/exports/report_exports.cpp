#include "dravik/report_exports.h"

#include "core/engine_state.h"
#include "reports/registry_report.h"
#include "reports/report_shell.h"

extern "C" void __cdecl DLL_SaveRegistryReport(dravik::issue_groups* groups, int mode) {
  using namespace dravik;
  // A null container is no scan result: writing "0 errors found" for it
  // would report a clean registry that was never looked at.
  engine_state* engine = current_engine();
  if (groups == nullptr || engine == nullptr) return;
  try {
    save_registry_report(engine->report_strings, engine->globals.application_folder,
                         *groups, mode, engine->job.registry_report_present);
  } catch (...) {
    // Out of memory while building the page: the host gets no report, as
    // with a missing template.
  }
}

extern "C" void __cdecl DLL_ShowReport(int kind) {
  using namespace dravik;
  engine_state* engine = current_engine();
  if (engine == nullptr) return;
  try {
    show_report(kind, engine->globals.application_folder, engine->job.registry_report_present);
  } catch (...) {
    // Nothing is shown; the host goes on.
  }
}
