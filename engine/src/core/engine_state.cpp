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
      app(*this) {}

}  // namespace dravik
