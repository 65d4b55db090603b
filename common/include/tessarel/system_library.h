#pragma once
// The Windows libraries that the program and the engine load themselves, by
// their full path in the system folder, rather than importing them by name:
// Windows looks for a DLL imported by name beside the program first unless it
// is one of the few it always takes from the system folder, so a planted
// comctl32.dll or gdiplus.dll would run inside the elevated process. The
// system folder is the one GetSystemDirectoryW names, with file-system
// redirection left on: a 32-bit process on 64-bit Windows gets SysWOW64 and
// so the 32-bit libraries.
//
// Any thread; loading runs the library's start-up under the loader lock, so
// never call these from a DllMain.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "tessarel/library_module.h"

namespace tessarel {

// A system library or one of its functions is missing. message() names the
// file and, for a function, the function, in words the user can act on;
// what() gives the same text with every character outside ASCII as '?'.
class system_library_error : public std::runtime_error {
 public:
  explicit system_library_error(const std::wstring& message)
      : std::runtime_error(ascii_text(message)), message_(message) {}
  const std::wstring& message() const noexcept { return message_; }

 private:
  static std::string ascii_text(const std::wstring& text) {
    std::string ascii;
    for (const wchar_t c : text) ascii += (c < 0x80) ? static_cast<char>(c) : '?';
    return ascii;
  }
  std::wstring message_;
};

// The system folder + "\" + file_name. Throws system_library_error when the
// folder cannot be named.
inline std::wstring system_library_path(const wchar_t* file_name) {
  wchar_t folder[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) {
    throw system_library_error(L"无法取得系统文件夹（错误 " + std::to_wstring(GetLastError()) +
                               L"）");
  }
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return path + file_name;
}

// Loads file_name from the system folder, never from anywhere else. Throws
// system_library_error naming the full path when it cannot be loaded.
inline unique_library_module load_system_library(const wchar_t* file_name) {
  const std::wstring path = system_library_path(file_name);
  const HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) {
    const DWORD error = GetLastError();
    throw system_library_error(L"无法加载系统库 " + path + L"（错误 " + std::to_wstring(error) +
                               L"）");
  }
  return unique_library_module(module);
}

// The function name in module, as Function (a pointer type). Throws
// system_library_error naming the function and library_name when the
// library lacks it.
template <class Function>
Function system_library_function(HMODULE module, const wchar_t* library_name,
                                 const char* name) {
  const FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) {
    std::wstring wide_name;
    for (const char* c = name; *c != '\0'; ++c) wide_name += static_cast<wchar_t>(*c);
    throw system_library_error(L"系统库 " + std::wstring(library_name) + L" 中没有函数 " +
                               wide_name);
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// From now on the process looks for a library loaded by bare name, and for
// the libraries a loaded library imports, in the system folder only (not
// beside the program, nor in the current folder or PATH). Windows 7 has this
// only with update KB2533623: without it the call is left out and nothing
// else changes, as every library the program loads itself is loaded by full
// path. True when the search was restricted.
inline bool restrict_library_search_to_system_folder() noexcept {
  using set_default_dll_directories_fn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return false;
  const FARPROC address = GetProcAddress(kernel, "SetDefaultDllDirectories");
  if (address == nullptr) return false;
  const auto set_default_dll_directories = reinterpret_cast<set_default_dll_directories_fn>(
      reinterpret_cast<void*>(address));
  return set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace tessarel
