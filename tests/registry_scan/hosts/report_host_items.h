#pragma once
// The items the report host's fake phases find, shared with the test that
// reads the page it makes the engine write.

#include <cstdint>
#include <vector>

#include "regscan/found_item.h"

namespace regscan::testing {

struct host_item {
  std::uint32_t category;
  found_item item;
};

inline found_item host_found(std::int32_t status, const wchar_t* problem, const wchar_t* key_path,
                             const wchar_t* value_name, const wchar_t* data) {
  found_item item;
  item.status = status;
  item.problem = problem;
  item.key_path = key_path;
  item.value_name = value_name;
  item.data = data;
  return item;
}

// Chinese texts on purpose: the engine converts the wide texts to its code
// page, and a layout mismatch or a narrow read would garble them.
inline std::vector<host_item> report_host_items() {
  return {
      {0, host_found(item_problem, L"Application Paths Issue",
                     L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                     L"App Paths\\缺失.exe",
                     L"", L"C:\\不存在\\缺失.exe")},
      {0, host_found(item_fine, L"Normal",
                     L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                     L"App Paths\\在此.exe",
                     L"", L"C:\\windows\\notepad.exe")},
      {2, host_found(item_problem, L"缺少启动键值",
                     L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     L"更新程序", L"C:\\更新\\update.exe /silent")},
      {7, host_found(item_problem, L"无用的关键值", L"HKEY_CURRENT_USER\\Software\\空键", L"",
                     L"空键")},
      {3, host_found(item_fine, L"Normal", L"HKEY_CURRENT_USER\\Software\\Microsoft\\Start", L"",
                     L"Start")},
  };
}

}  // namespace regscan::testing
