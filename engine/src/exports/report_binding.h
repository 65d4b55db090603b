#pragma once
// What the report exports work on: the engine's application folder, its
// registry_report_present flag and the report strings of its context. Bound
// once while the engine loads (before any export can be called) and unbound at
// unload; until bound, the report exports do nothing.

#include <atomic>
#include <cstdint>
#include <string>

#include "reports/report_strings.h"

namespace dravik {

void bind_report_exports(const std::string& application_folder,
                         std::atomic<std::int32_t>& registry_report_present,
                         report_strings& strings);

void unbind_report_exports();

}  // namespace dravik
