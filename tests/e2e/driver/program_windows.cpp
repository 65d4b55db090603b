#include "driver/program_windows.h"

namespace tessarel::e2e {

namespace {

struct top_search {
  DWORD pid;
  const wchar_t* class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_top(HWND hwnd, LPARAM context) {
  auto& search = *reinterpret_cast<top_search*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search.pid && IsWindowVisible(hwnd) &&
      (search.class_name == nullptr || class_of(hwnd) == search.class_name))
    search.found.push_back(hwnd);
  return TRUE;
}

// How long a window's thread has to answer a question of the driver.
constexpr UINT answer_ms = 5000;

}  // namespace

std::wstring class_of(HWND hwnd) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<HWND> top_windows(DWORD pid, const wchar_t* class_name) {
  top_search search{pid, class_name, {}};
  EnumWindows(&collect_top, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> children_of_class(HWND parent, const wchar_t* class_name) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (class_of(child) == class_name) found.push_back(child);
  return found;
}

HWND child_at(HWND parent, const wchar_t* class_name, POINT origin) {
  for (HWND child : children_of_class(parent, class_name)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.left == origin.x && rect.top == origin.y) return child;
  }
  return nullptr;
}

std::wstring text_of(HWND hwnd) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, answer_ms, &length))
    return L"";
  return std::wstring(text, length);
}

SIZE client_size(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace tessarel::e2e
