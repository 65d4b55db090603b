#include "core/engine_state.h"

#include <utility>

#include "advanced/advance_dialog.h"
#include "options/filter_dialog.h"

namespace dravik {

engine_state::engine_state(engine_load_options load)
    : load_options(std::move(load)),
      option_state{globals.application_folder, globals.host_executable_path, options},
      advance_state{options.companion_run_flag,
                    [this](char letter) {
                      return volumes[static_cast<size_t>(slot_of_letter(letter))].total_size_text;
                    }},
      filter_dialog(std::make_unique<Filter>()),
      advance_dialog(std::make_unique<Advance>()),
      app(*this) {
  build_report_blocks(report_strings);
}

analysis_volume_records analysis_records_of(engine_state& engine) noexcept {
  return {engine.job,  engine.status,  engine.volumes, engine.file_lists,
          engine.work, engine.extents, engine.cursor,  engine.walk,
          engine.report_strings, engine.options, engine.globals.application_folder};
}

defrag_volume_records defrag_records_of(engine_state& engine) noexcept {
  return {engine.job,     engine.status, engine.volumes, engine.work,
          engine.extents, engine.cursor, engine.mover,   engine.walk,
          engine.report_strings, engine.optimize_set, engine.options,
          engine.globals.application_folder};
}

// Here, where the dialogs' classes are complete.
engine_state::~engine_state() = default;

}  // namespace dravik
