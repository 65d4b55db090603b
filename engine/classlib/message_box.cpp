#include "classlib/message_box.h"

#include "classlib/engine_module.h"

#include <utility>
#include <vector>

namespace {

message_box_hook& current_hook() {
  static message_box_hook hook;
  return hook;
}

// The title is the engine module's file name without folder and extension,
// the name the class library gives an application that sets none.
std::wstring application_title() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(engine_module(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring title(path.data());
  const auto slash = title.find_last_of(L"\\/");
  if (slash != std::wstring::npos) title.erase(0, slash + 1);
  const auto dot = title.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) title.erase(dot);
  return title;
}

}  // namespace

int AfxMessageBox(const char* text, UINT type) {
  const std::string narrow = text ? text : "";
  if (const message_box_hook& hook = current_hook()) return hook(narrow, type);
  return MessageBoxW(GetActiveWindow(), wide_from_936(narrow).c_str(), application_title().c_str(),
                     type);
}

message_box_hook install_message_box_hook(message_box_hook hook) {
  return std::exchange(current_hook(), std::move(hook));
}
