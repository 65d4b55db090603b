#pragma once
// The items the report host's fake phases find, shared with the test that
// reads the page the engine writes. Chinese texts on purpose: the engine
// converts the wide texts to its code page; a layout read differently or a
// narrow read would garble them.

#include <cstdint>
#include <vector>

#include "regscan/found_item.h"

namespace regscan::testing {

struct host_item {
  std::uint32_t category;
  found_item item;
};

inline std::vector<host_item> report_host_items() {
  const wchar_t* const app_paths =
      L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  return {
      {0, {item_problem, L"Application Paths Issue", app_paths + std::wstring(L"缺失.exe"), L"",
           L"C:\\不存在\\缺失.exe"}},
      {0, {item_fine, L"Normal", app_paths + std::wstring(L"在此.exe"), L"", L"C:\\a.exe"}},
      {2, {item_problem, L"缺少启动键值",
           L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"更新程序",
           L"C:\\更新\\update.exe /silent"}},
      {7, {item_problem, L"无用的关键值", L"HKEY_CURRENT_USER\\Software\\空键", L"", L"空键"}},
      {3, {item_fine, L"Normal", L"HKEY_CURRENT_USER\\Software\\Start", L"", L"Start"}},
  };
}

}  // namespace regscan::testing
