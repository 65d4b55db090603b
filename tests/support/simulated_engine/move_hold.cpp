#include "simulated_engine/move_hold.h"

#include <windows.h>

#include <string>

#include "simulated_engine/module_folder.h"
#include "tessarel/unique_handle.h"

namespace dravik::sim {

namespace {

constexpr DWORD hold_limit_ms = 120000;
constexpr DWORD poll_ms = 10;

bool exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

move_hook hold_moves_hook() {
  return [](const move_request&) {
    const std::wstring folder = simulated_engine_folder();
    const std::wstring hold = folder + hold_moves_file_name;
    if (!exists(hold)) return;
    const tessarel::unique_kernel_handle held(
        CreateFileW((folder + moves_held_file_name).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const ULONGLONG start = GetTickCount64();
    while (exists(hold) && GetTickCount64() - start < hold_limit_ms) Sleep(poll_ms);
  };
}

}  // namespace dravik::sim
