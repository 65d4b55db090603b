#include "window/program_main.h"

#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/engine_binding_error.h"
#include "map/block_palette.h"
#include "map/gdiplus_api.h"
#include "regscan/category_table.h"
#include "regscan/registry_categories.h"
#include "startup/administrator_check.h"
#include "startup/command_line.h"
#include "startup/exit_action.h"
#include "startup/init_toolkit.h"
#include "startup/program_texts.h"
#include "startup/system_libraries.h"
#include "tessarel/system_library.h"
#include "tessarel/unique_handle.h"
#include "vemo/dialog_items.h"
#include "vemo/frame.h"
#include "vemo/message_loop.h"
#include "vemo/settings.h"
#include "vemo/text_conversion.h"
#include "window/main_window_start.h"
#include "window/main_wnd.h"

namespace tessarel {
namespace {

// What start-up set up, released in the opposite order whichever way the
// program leaves: the main window (and with it the engine), the palette,
// GDI+, the dialog items, the settings, the window classes.
class program_session {
 public:
  program_session() = default;
  program_session(const program_session&) = delete;
  program_session& operator=(const program_session&) = delete;
  ~program_session() { release(); }

  void start_gdiplus() {
    Gdiplus::GdiplusStartupInput input;
    // A failed start leaves the token 0; the palette then reports it.
    Gdiplus::GdiplusStartup(&gdiplus_token_, &input, nullptr);
  }

  std::unique_ptr<main_wnd> main;

  void release() {
    if (released_) return;
    released_ = true;
    main.reset();
    release_block_palette();
    if (gdiplus_token_ != 0) Gdiplus::GdiplusShutdown(gdiplus_token_);
    vemo::free_dialog_items();
    vemo::close_settings();
    vemo::unregister_window_classes();
  }

 private:
  ULONG_PTR gdiplus_token_ = 0;
  bool released_ = false;
};

std::wstring error_text(const std::exception& error) {
  if (const auto* binding = dynamic_cast<const engine_binding_error*>(&error))
    return binding->message();
  if (const auto* library = dynamic_cast<const system_library_error*>(&error))
    return library->message();
  try {
    return vemo::wide_text(error.what());
  } catch (...) {
    return L"?";
  }
}

void show_error(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), product_name, MB_OK | MB_ICONERROR);
}

int run_started_program(program_session& session, const wchar_t* command_line) {
  vemo::open_settings(settings_file_name);
  vemo::load_dialog_items();
  session.start_gdiplus();
  build_block_palette();
  store_command_line(command_line);
  // The registry row checks and cleans with the scanner's own categories
  // (tests of the window install sandboxed ones instead).
  regscan::install_category_table(regscan::registry_categories());
  session.main = std::make_unique<main_wnd>(vemo::settings()->folder());
  if (!create_main_window(*session.main)) throw std::runtime_error("CreateWindowExW failed");
  return vemo::run_message_loop();
}

}  // namespace

int run_program(HINSTANCE instance, const wchar_t* command_line) {
  // Before anything loads a library by bare name. Then the libraries the
  // program takes from the system folder, before anything uses them; one
  // missing, or lacking a function, ends the program with a message that
  // names it.
  restrict_library_search_to_system_folder();
  try {
    load_system_libraries();
  } catch (const system_library_error& failure) {
    show_error(failure.message());
    return -1;
  }
  if (!is_administrator()) {
    MessageBoxW(nullptr, msg_run_as_admin, product_name, MB_OK);
    return -1;
  }
  // The first instance loads the engine before its window exists; the
  // mutex covers that time, the window lookup an instance of another session.
  if (FindWindowW(main_window_class_name, nullptr) != nullptr) return -1;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, single_instance_mutex_name);
  const DWORD mutex_error = GetLastError();
  const unique_kernel_handle instance_mutex(mutex);
  if (mutex_error == ERROR_ALREADY_EXISTS) return -1;

  init_toolkit(instance);
  int exit_code = -1;
  std::wstring error;
  {
    program_session session;
    try {
      exit_code = run_started_program(session, command_line);
    } catch (const std::exception& failure) {
      error = error_text(failure);
      if (error.empty()) error = L"?";
    } catch (...) {
      error = L"?";
    }
    session.release();
  }
  if (!error.empty()) {
    show_error(error);
    return -1;
  }
  apply_exit_action(exit_action);
  return exit_code;
}

}  // namespace tessarel
