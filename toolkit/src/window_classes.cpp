#include "window_classes.h"

#include <set>

#include "vemo/frame.h"
#include "vemo/program_instance.h"

namespace vemo {
namespace {

std::set<std::wstring>& registered_classes() {
  static std::set<std::wstring> names;
  return names;
}

}  // namespace

bool register_window_class(const std::wstring& name, UINT style, WNDPROC procedure, HICON icon,
                           HCURSOR cursor, HBRUSH background, const wchar_t* menu_name) {
  // The name is kept even when registration fails, so a class that cannot be
  // registered is not tried again.
  if (!registered_classes().insert(name).second) return true;

  WNDCLASSW wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = program_instance;
  wc.hIcon = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = menu_name;
  wc.lpszClassName = name.c_str();
  return RegisterClassW(&wc) != 0;
}

void unregister_window_classes() {
  for (const auto& name : registered_classes()) UnregisterClassW(name.c_str(), program_instance);
  registered_classes().clear();
}

}  // namespace vemo
