#pragma once
// The main window over the stand-in engine, the sample skin and two fixed
// drives C: and D:, created and shown as the program does it.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "engine/stand_in_engine_support.h"
#include "gui_test_support/gui_test_support.h"
#include "gui_test_support/scripted_dialog.h"
#include "map/block_palette.h"
#include "menu/defrag_menu.h"
#include "modal_answerer.h"
#include "registry_sandbox/registry_sandbox.h"
#include "startup/command_line.h"
#include "startup/exit_action.h"
#include "vemo/dialog_items.h"
#include "vemo/settings.h"
#include "volumes/fake_drives.h"
#include "window/main_window_start.h"
#include "window/main_wnd.h"

namespace tessarel::testing {

class MainWindowTest : public StandInEngineTest {
 protected:
  void SetUp() override {
    StandInEngineTest::SetUp();
    exit_action = exit_action_none;
    store_command_line(L"");
    vemo::open_settings(L"zq.ini");
    vemo::load_dialog_items();
    build_block_palette();
  }

  void TearDown() override {
    close();
    vemo::free_dialog_items();
    exit_action = exit_action_none;
    StandInEngineTest::TearDown();
  }

  // The registry roots redirected, for tests whose jobs scan it.
  void use_registry_sandbox() {
    sandbox = std::make_unique<registry_sandbox>(
        std::initializer_list<HKEY>{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT});
    ASSERT_TRUE(sandbox->active());
  }

  void open() {
    main = std::make_unique<main_wnd>(stand_in_folder(L"full"));
    ASSERT_TRUE(create_main_window(*main));
    pump_messages();
  }

  // Ends any job, deletes the window and drops the quit message it posted.
  void close() {
    if (!main) return;
    stand_in_release_runs();
    EXPECT_TRUE(pump_until([&] { return !main->handle() || !main->busy(); }));
    main.reset();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  HWND hwnd() const { return main->handle(); }

  // A real click on row (0 the Registry row) of the volume list.
  void click_row(int row) { click_at(main->volume_list().handle(), 40, 30 + 20 * row); }
  // What a click on a button tells the window, without the click.
  void press(main_button which) {
    SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(0, 0),
                 reinterpret_cast<LPARAM>(main->button(which).handle()));
  }
  void command(int code) { SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(0, code), 0); }
  bool shown(main_button which) { return IsWindowVisible(main->button(which).handle()) != FALSE; }
  bool wait_idle() { return pump_until([&] { return !main->busy(); }); }
  std::vector<stand_in_call> reports() { return journal("DLL_ShowReport"); }

  // Cancels any box a test did not script, so that it fails instead of hanging.
  modal_answerer unexpected;
  fake_drives drives{{{L'C', DRIVE_FIXED}, {L'D', DRIVE_FIXED}}};
  std::unique_ptr<registry_sandbox> sandbox;
  std::unique_ptr<main_wnd> main;
};

}  // namespace tessarel::testing
