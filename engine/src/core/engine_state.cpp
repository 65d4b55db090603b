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
      app(*this) {}

// Here, where the dialogs' classes are complete.
engine_state::~engine_state() = default;

}  // namespace dravik
