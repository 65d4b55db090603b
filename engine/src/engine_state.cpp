#include "engine_state.h"

#include <utility>

namespace dravik {

engine_state::engine_state(engine_load_options load_options)
    : options(std::move(load_options)), app(*this) {}

}  // namespace dravik
