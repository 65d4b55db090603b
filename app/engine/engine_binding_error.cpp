#include "engine/engine_binding_error.h"

#include "vemo/text_conversion.h"

namespace tessarel {

engine_binding_error::engine_binding_error(const std::wstring& message)
    : std::runtime_error(vemo::narrow_text(message)), message_(message) {}

}  // namespace tessarel
