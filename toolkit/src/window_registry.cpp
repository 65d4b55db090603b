#include "window_registry.h"

#include <iterator>
#include <map>

#include "vemo/window.h"

namespace vemo {
namespace {

// Built on first use, so it exists before any window of any static object.
std::map<HWND, window*>& window_registry() {
  static std::map<HWND, window*> registry;
  return registry;
}

}  // namespace

void enter_window(HWND handle, window* object) { window_registry()[handle] = object; }

// Entries go when their window or their object goes, so a handle value that
// the system hands out again for a new window never leads to a dead object.
void forget_window(HWND handle) { window_registry().erase(handle); }

void forget_object(const window* object) {
  auto& registry = window_registry();
  for (auto it = registry.begin(); it != registry.end();)
    it = it->second == object ? registry.erase(it) : std::next(it);
}

window* find_window(HWND handle) {
  if (!handle) return nullptr;
  const auto& registry = window_registry();
  const auto it = registry.find(handle);
  return it == registry.end() ? nullptr : it->second;
}

}  // namespace vemo
