#pragma once
// Files of the end-to-end run. The run's Wine prefix has the drives C:, D:
// and E: only; the build folder is reached through Wine's "\\?\unix" names,
// and every program the tests start lies on C: of the prefix.

#include <optional>
#include <string>

namespace tessarel::e2e {

// The built simulated application folder, and the folder that receives the
// screenshots (made when missing); both without a trailing backslash.
std::wstring simulated_app_folder();
std::wstring screenshot_folder();
// The engine probe (engine_probe.cpp) as built.
std::wstring engine_probe_file();

// Where the scenarios' copies go: "C:\e2e".
std::wstring work_root();

// Copies the folder from into to (made, emptied first when present), with
// every file and subfolder. False on the first failure.
bool copy_folder(const std::wstring& from, const std::wstring& to);
// Removes a folder with everything in it; false when something stayed.
bool remove_folder(const std::wstring& folder);

// The bytes of a file; nothing when it cannot be read.
std::optional<std::string> read_file(const std::wstring& path);
bool write_file(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);

}  // namespace tessarel::e2e
