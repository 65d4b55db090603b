#pragma once
// The folder the simulated build of the engine was loaded from: its files
// for the tests (the volumes' summary, the opened report addresses) go there.

#include <string>

namespace dravik::sim {

// With its trailing backslash; empty when the module's name cannot be read.
std::wstring simulated_engine_folder();

}  // namespace dravik::sim
