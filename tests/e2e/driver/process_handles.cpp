#include "driver/process_handles.h"

#include <vector>

#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

namespace {

// NtQuerySystemInformation's SystemHandleInformation and its records.
constexpr ULONG system_handle_information = 16;
constexpr LONG status_info_length_mismatch = static_cast<LONG>(0xC0000004);

struct system_handle_entry {
  ULONG owner_pid;
  BYTE object_type;
  BYTE flags;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};

struct system_handle_list {
  ULONG count;
  system_handle_entry entries[1];
};

using query_system_information = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

std::optional<unsigned long> count_in_system_list(DWORD pid) {
  const auto query = reinterpret_cast<query_system_information>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return std::nullopt;
  std::vector<char> buffer(1 << 20);
  LONG status = 0;
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    status = query(system_handle_information, buffer.data(), static_cast<ULONG>(buffer.size()),
                   &needed);
    if (status != status_info_length_mismatch) break;
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return std::nullopt;
  const auto* list = reinterpret_cast<const system_handle_list*>(buffer.data());
  unsigned long count = 0;
  for (ULONG i = 0; i < list->count; ++i)
    if (list->entries[i].owner_pid == pid) ++count;
  return count;
}

}  // namespace

std::optional<unsigned long> process_handle_count(DWORD pid) {
  const unique_kernel_handle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  DWORD count = 0;
  if (process && GetProcessHandleCount(process.get(), &count) && count != 0) return count;
  return count_in_system_list(pid);
}

}  // namespace tessarel::e2e
