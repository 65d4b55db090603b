#pragma once
// Names this test process among others running side by side: the
// executable's name and the process id, e.g. "engine_tests_1234". The
// helpers that make folders and registry keys of their own start their
// names with it.

#include <windows.h>

#include <string>

namespace tessarel::testing {

inline std::string process_tag() {
  char module[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string name = module;
  const std::string::size_type slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::string::size_type dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  if (name.empty()) name = "tests";
  return name + "_" + std::to_string(GetCurrentProcessId());
}

}  // namespace tessarel::testing
