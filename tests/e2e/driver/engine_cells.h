#pragma once
// The engine's own cell colours of the scenario's volumes, to compare with
// what the program's map shows: the simulated engine run by the engine probe
// from a fresh copy of the application folder of its own (the scenario is the
// same on every load). The driver's thread alone.

#include <map>
#include <string>
#include <vector>

namespace tessarel::e2e {

// Letter to its 1000 codes after the engine has analysed letters ("" for
// no analysis: the codes a fresh folder starts with). Empty when the probe
// failed.
std::map<char, std::vector<int>> engine_cell_codes(const std::string& letters);

}  // namespace tessarel::e2e
