#include "core/engine_state.h"

#include <utility>

namespace dravik {

engine_state::engine_state(engine_load_options load_options)
    : options(std::move(load_options)),
      option_state{globals.application_folder, globals.host_executable_path,
                   option_flag_refs{globals.auto_run_flag, globals.logout_flag,
                                    globals.restart_flag, globals.companion_run_flag}},
      advance_state{globals.companion_run_flag,
                    [this](char letter) {
                      return volumes[static_cast<size_t>(slot_of_letter(letter))].total_size_text;
                    }},
      app(*this) {
  build_report_blocks(report_strings);
}

analysis_volume_records analysis_records_of(engine_state& engine) noexcept {
  return {engine.job,  engine.status,  engine.volumes, engine.file_lists,
          engine.work, engine.extents, engine.cursor,  engine.walk,
          engine.report_strings, engine.globals.application_folder};
}

defrag_volume_records defrag_records_of(engine_state& engine) noexcept {
  return {engine.job,     engine.status, engine.volumes, engine.work,
          engine.extents, engine.cursor, engine.mover,   engine.walk,
          engine.report_strings, engine.optimize_set, engine.globals.application_folder};
}

}  // namespace dravik
