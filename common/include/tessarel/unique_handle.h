#pragma once
// One owner for a handle that one call closes: it cannot be copied, a move
// hands the handle over, and it closes what it holds exactly once. A value
// that holds nothing (null, INVALID_HANDLE_VALUE) is never closed.

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <type_traits>
#include <utility>

namespace tessarel {

// The GDI objects and device contexts the GDI holders hold right now, counted
// only in test builds (TESSAREL_COUNT_GDI_OBJECTS): Wine's GetGuiResources
// always answers 0, so a test that looks for leaked GDI objects reads this.
inline std::atomic<long> live_gdi_objects{0};

// Traits with `static constexpr bool counted = true` are counted above.
template <class Traits, class = void>
struct counted_handle : std::false_type {};
template <class Traits>
struct counted_handle<Traits, std::void_t<decltype(Traits::counted)>>
    : std::bool_constant<Traits::counted> {};

// Traits say:
//   handle_type                the handle's type
//   invalid()                  what an empty holder keeps and get() returns
//   is_valid(handle)           false for every value that holds nothing
//   close(handle)              the close call; true when it succeeded
template <class Traits>
class unique_handle {
 public:
  using handle_type = typename Traits::handle_type;

  unique_handle() noexcept = default;
  // Takes over the handle; a value that holds nothing is kept as invalid().
  explicit unique_handle(handle_type handle) noexcept : handle_(checked(handle)) {
    count(handle_, 1);
  }
  ~unique_handle() { close(); }

  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::invalid())) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  handle_type get() const noexcept { return handle_; }
  bool is_open() const noexcept { return Traits::is_valid(handle_); }
  explicit operator bool() const noexcept { return is_open(); }

  // Hands the handle to the caller, who closes it; the holder is left empty.
  handle_type release() noexcept {
    count(handle_, -1);
    return std::exchange(handle_, Traits::invalid());
  }

  // Closes the handle held, then takes over the new one.
  void reset(handle_type handle = Traits::invalid()) noexcept {
    close();
    handle_ = checked(handle);
    count(handle_, 1);
  }

  // Closes now and leaves the holder empty. False when nothing was open or
  // the close call failed (for a written file: the data may be lost; for a
  // GDI object: it still exists, and stays counted).
  bool close() noexcept {
    if (!is_open()) return false;
    const handle_type handle = std::exchange(handle_, Traits::invalid());
    const bool closed = Traits::close(handle);
    if (closed) count(handle, -1);
    return closed;
  }

 private:
  static void count([[maybe_unused]] handle_type handle, [[maybe_unused]] long change) noexcept {
#ifdef TESSAREL_COUNT_GDI_OBJECTS
    if constexpr (counted_handle<Traits>::value) {
      if (Traits::is_valid(handle)) live_gdi_objects += change;
    }
#endif
  }

  static handle_type checked(handle_type handle) noexcept {
    return Traits::is_valid(handle) ? handle : Traits::invalid();
  }

  handle_type handle_ = Traits::invalid();
};

// Handles for which only null means none.
template <class Handle>
struct null_means_none {
  using handle_type = Handle;
  static Handle invalid() noexcept { return nullptr; }
  static bool is_valid(Handle handle) noexcept { return handle != nullptr; }
};

// Kernel and search handles: CreateFile and FindFirstFile fail with
// INVALID_HANDLE_VALUE, most other calls with null. Neither is closed.
struct null_or_invalid_means_none : null_means_none<HANDLE> {
  static bool is_valid(HANDLE handle) noexcept {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
  }
};

struct kernel_handle_traits : null_or_invalid_means_none {
  static bool close(HANDLE handle) noexcept { return CloseHandle(handle) != FALSE; }
};

struct find_handle_traits : null_or_invalid_means_none {
  static bool close(HANDLE find) noexcept { return FindClose(find) != FALSE; }
};

struct registry_key_traits : null_means_none<HKEY> {
  static bool close(HKEY key) noexcept { return RegCloseKey(key) == ERROR_SUCCESS; }
};

struct stdio_file_traits : null_means_none<std::FILE*> {
  static bool close(std::FILE* file) noexcept { return std::fclose(file) == 0; }
};

#ifdef TESSAREL_COUNT_GDI_OBJECTS
// True for a bitmap that is selected into a device context: such a bitmap
// cannot be selected into a second one.
inline bool bitmap_still_selected(HGDIOBJ object) noexcept {
  if (GetObjectType(object) != OBJ_BITMAP) return false;
  const HDC probe = CreateCompatibleDC(nullptr);
  if (probe == nullptr) return false;
  const HGDIOBJ previous = SelectObject(probe, object);
  if (previous != nullptr) SelectObject(probe, previous);
  DeleteDC(probe);
  return previous == nullptr;
}
#endif

// A font, brush, pen, bitmap or region; it must no longer be selected into a
// device context when it is deleted.
template <class Handle>
struct gdi_object_traits : null_means_none<Handle> {
  static constexpr bool counted = true;
  static bool close(Handle object) noexcept {
#ifdef TESSAREL_COUNT_GDI_OBJECTS
    // Windows refuses to delete a bitmap still selected into a device
    // context (and it leaks); Wine deletes it later. The test build refuses
    // as Windows does, so the leak shows in the count.
    if (bitmap_still_selected(object)) return false;
#endif
    return DeleteObject(object) != FALSE;
  }
};

// A device context made with CreateDC or CreateCompatibleDC (not GetDC's).
struct created_dc_traits : null_means_none<HDC> {
  static constexpr bool counted = true;
  static bool close(HDC dc) noexcept { return DeleteDC(dc) != FALSE; }
};

using unique_kernel_handle = unique_handle<kernel_handle_traits>;
using unique_find_handle = unique_handle<find_handle_traits>;
using unique_registry_key = unique_handle<registry_key_traits>;
using unique_stdio_file = unique_handle<stdio_file_traits>;
template <class Handle>
using unique_gdi_object = unique_handle<gdi_object_traits<Handle>>;
using unique_created_dc = unique_handle<created_dc_traits>;

}  // namespace tessarel
