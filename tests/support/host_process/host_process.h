#pragma once
// Small programs that the tests start as hosts of a built library (the
// engine keeps its files in its host's folder, so a host run from a scratch
// folder makes that folder the engine's application folder).

#include <windows.h>

#include <string>

namespace tessarel::testing {

// path with every "/" turned into "\" (the build's paths reach the tests as
// "Z:/...").
std::string windows_path(std::string path);

// Runs executable with the arguments (appended after its quoted path) in
// folder and waits for it. Its exit code; 96 when it could not be started,
// 98 when it was still running after timeout_ms and was ended.
DWORD run_host(const std::string& executable, const std::string& arguments,
               const std::string& folder, DWORD timeout_ms = 60000);
// The same with wide paths, for folders whose names the ANSI code page lacks.
DWORD run_host(const std::wstring& executable, const std::wstring& arguments,
               const std::wstring& folder, DWORD timeout_ms = 60000);

}  // namespace tessarel::testing
