#include "advanced/engine_advance.h"

#include "advanced/advance_dialog.h"
#include "advanced/companion_process.h"
#include "options/run_key_entry.h"

namespace dravik {

const char* const companion_run_value = "VELTOR";

INT_PTR show_advance_dialog(Advance& dialog, const engine_advance_state& state) {
  dialog.size_text = state.total_size_text;
  const INT_PTR result = dialog.DoModal();
  if (result == IDOK) apply_advance(dialog, state);
  return result;
}

void apply_advance(const Advance& dialog, const engine_advance_state& state) {
  if ((dialog.companion_run_check != 0) == (state.companion_run_flag != 0)) return;
  state.companion_run_flag = dialog.companion_run_check;
  update_run_entry(companion_run_value, state.companion_run_flag != 0,
                   dialog.working_folder + companion_executable);
}

}  // namespace dravik
