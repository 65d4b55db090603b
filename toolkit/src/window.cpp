#include "vemo/window.h"

#include <utility>
#include <vector>

#include "handler_exceptions.h"
#include "vemo/program_instance.h"
#include "window_registry.h"

namespace vemo {
namespace {

// WM_GETTEXT is given room for 32767 characters with the terminator, so at
// most 32766 characters of text come back.
constexpr WPARAM text_buffer_room = 32767;

// The window property that names the object a window was created for; the
// system drops it with the window. Named by an atom taken once, since every
// property set by a string name would add a reference to the string's atom.
const wchar_t* object_property() {
  static const ATOM atom = GlobalAddAtomW(L"vemo.window_object");
  return atom ? MAKEINTATOM(atom) : L"vemo.window_object";
}

}  // namespace

window::window(std::wstring class_name) : class_name_(std::move(class_name)) {}

window::~window() {
  if (handle_ && DestroyWindow(handle_)) handle_ = nullptr;
  forget_object(this);
}

BOOL window::destroy() {
  if (!handle_) return FALSE;
  const BOOL destroyed = DestroyWindow(handle_);
  if (destroyed) handle_ = nullptr;
  return destroyed;
}

BOOL window::update() { return UpdateWindow(handle_); }

bool window::owns_live_window() const {
  if (!handle_ || !IsWindow(handle_)) return false;
  return find_window(handle_) == this ||
         GetPropW(handle_, object_property()) == static_cast<const void*>(this);
}

HWND window::create(const std::wstring& title, DWORD style, const RECT& rect, window* parent,
                    HMENU menu) {
  // A second window would leave the first one without an owner.
  if (owns_live_window()) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return nullptr;
  }
  handle_ = CreateWindowExW(0, class_name_.c_str(), title.c_str(), style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top,
                            parent ? parent->handle() : nullptr, menu, program_instance,
                            static_cast<window*>(this));
  if (handle_) SetPropW(handle_, object_property(), static_cast<window*>(this));
  rethrow_handler_exception();
  return handle_;
}

std::wstring window::get_text(LRESULT* count) const {
  std::vector<wchar_t> buffer(text_buffer_room + 1, L'\0');
  const LRESULT copied =
      SendMessageW(handle_, WM_GETTEXT, text_buffer_room, reinterpret_cast<LPARAM>(buffer.data()));
  if (count) *count = copied;
  return std::wstring(buffer.data());
}

void window::set_text(const std::wstring& text) { SetWindowTextW(handle_, text.c_str()); }

void window::create_top_level(window& w, const std::wstring& title, DWORD style) {
  w.create(title, style, RECT{0, 0, 0, 0}, nullptr, nullptr);
}

hwnd_helper::hwnd_helper(HWND handle) : window(std::wstring()) { set_handle(handle); }

hwnd_helper::~hwnd_helper() { set_handle(nullptr); }

HWND create_child_window(window& child, window& parent, DWORD style) {
  return child.create(std::wstring(), style, RECT{0, 0, 0, 0}, &parent, nullptr);
}

}  // namespace vemo
