// Times the program's start: from CreateProcess of Tessarel.exe to its main
// window shown and painted (the first paint happens before the message loop
// runs, so the window answering a message means it has been painted). The
// window is then closed and the process waited for.
//
// Usage (under Wine): startup_bench.exe [folder-of-Tessarel.exe] [--repeat N]
// Default folder: the build's application folder (..\app beside bin).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t main_window_class[] = L"__biscuit_view_class_name__";

std::wstring default_folder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\'));  // bin
  folder.resize(folder.find_last_of(L'\\'));  // the build folder
  return folder + L"\\app";
}

// Milliseconds to the painted window, or a negative value when the program
// did not show one within 60 s.
double one_start(const std::wstring& folder) {
  const std::wstring program = folder + L"\\Tessarel.exe";
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  double spent = -1;
  HWND window = nullptr;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
    window = FindWindowW(main_window_class, nullptr);
    DWORD_PTR answer = 0;
    if (window && IsWindowVisible(window) &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) {
      const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
      spent = d.count();
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return spent;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring folder = default_folder();
  int repeat = 5;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--repeat" && i + 1 < argc) {
      repeat = std::max(1, _wtoi(argv[++i]));
    } else {
      folder = arg;
    }
  }
  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    const double ms = one_start(folder);
    if (ms < 0) {
      std::fprintf(stderr, "start %d: no painted main window\n", i + 1);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("process start to first painted main window (%ls): median %.0f ms, "
              "fastest %.0f ms, slowest %.0f ms over %d starts\n",
              folder.c_str(), times[times.size() / 2], times.front(), times.back(), repeat);
  return 0;
}
