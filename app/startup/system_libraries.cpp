#include "startup/system_libraries.h"

#include "tessarel/system_library.h"

namespace tessarel {

class gdiplus_loader {
 public:
  gdiplus_loader() : module_(load_system_library(file_name)) {
    int index = 0;
#define TESSAREL_TAKE(name) \
  entries_.entries_[index++] = system_library_function<FARPROC>(module_.get(), file_name, #name);
    TESSAREL_GDIPLUS_FUNCTIONS(TESSAREL_TAKE)
#undef TESSAREL_TAKE
  }
  const gdiplus_entries& entries() const noexcept { return entries_; }

 private:
  static constexpr const wchar_t* file_name = L"gdiplus.dll";
  unique_library_module module_;
  gdiplus_entries entries_;
};

namespace {

class common_controls_loader {
 public:
  using init_fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

  common_controls_loader()
      : module_(load_system_library(file_name)),
        init_(system_library_function<init_fn>(module_.get(), file_name,
                                               "InitCommonControlsEx")) {}
  init_fn init() const noexcept { return init_; }

 private:
  static constexpr const wchar_t* file_name = L"comctl32.dll";
  unique_library_module module_;
  init_fn init_;
};

// A static whose construction throws is tried again at the next call.
const common_controls_loader& common_controls() {
  static const common_controls_loader loader;
  return loader;
}

// msimg32.dll: the program calls nothing of it (GDI's own GdiAlphaBlend
// blends), but libraries of the system load it by bare name, the theme and
// common-control libraries among them. Loaded from the system folder first,
// it is found loaded then, and a copy beside the program is never taken:
// also where the library search cannot be restricted (Windows 7 without
// KB2533623) and where a library resolves its delayed imports without the
// restriction (Wine).
void hold_msimg32() {
  static const unique_library_module module = load_system_library(L"msimg32.dll");
}

}  // namespace

const gdiplus_entries& gdiplus_library() {
  static const gdiplus_loader loader;
  return loader.entries();
}

BOOL init_common_controls(const INITCOMMONCONTROLSEX& controls) {
  return common_controls().init()(&controls);
}

void load_system_libraries() {
  hold_msimg32();
  common_controls();
  gdiplus_library();
}

}  // namespace tessarel
