// The advanced dialog as the program uses it: shown through DLL_Advance with
// the real template and driven with messages under the test display. The
// companion is the stand-in VELTOR.exe, the Run value lives in the registry
// sandbox, and the task is the real one in the test prefix's task folder.
//
// The Task Scheduler reads the machine's registry (the computer name), which
// the sandbox hides: tests of the task run without it and never confirm the
// dialog, so they cannot write a Run value.

#include "dravik/advance_exports.h"
#include "advanced/advance_dialog.h"
#include "resources/advance_dialog_ids.h"
#include "advanced/companion_process.h"
#include "advanced/engine_advance.h"
#include "options/run_key_entry.h"
#include "resources/schedule_dialog_ids.h"
#include "advanced/scheduled_task.h"

#include "advanced/companion_stand_in.h"
#include "dialog_driver.h"
#include "engine_in_folder.h"
#include "advanced/fixed_drives_io.h"
#include "registry_sandbox/registry_sandbox.h"
#include "message_recorder.h"
#include "advanced/schedule_task_cleanup.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace dravik::testing {
namespace {

using tessarel::testing::read_registry_string;
using tessarel::testing::registry_sandbox;

using strings = std::vector<std::string>;

const wchar_t* const dialog_title = L"Tessarel进阶选项";
const char* const program_path = "C:\\Program Files\\Tessarel\\Tessarel.exe";

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// "add" when only the add button is enabled, "edit remove" when only those
// two are, "" when none is.
std::string task_buttons(HWND dialog) {
  std::string shown;
  if (enabled(dialog, IDC_ADVANCE_ADD_TASK)) shown += "add";
  if (enabled(dialog, IDC_ADVANCE_EDIT_TASK)) shown += shown.empty() ? "edit" : " edit";
  if (enabled(dialog, IDC_ADVANCE_REMOVE_TASK)) shown += shown.empty() ? "remove" : " remove";
  return shown;
}

// The engine loaded over the fixed drives C, D and E (which have no map); the
// dialog and the flag are the engine's own.
class Advanced : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(companion.installed());
    advance_dialog.companion_pid = 0;
    advance_dialog.companion_running = 0;
    advance_dialog.companion_run_check = 0;
    advance_dialog.schedule_letters.clear();
    advance_dialog.working_folder = companion.folder();
    advance_dialog.program_path = program_path;
  }

  void TearDown() override {
    sandbox.reset();
    std::string data;
    EXPECT_FALSE(
        read_registry_string(HKEY_LOCAL_MACHINE, dravik::run_key_path, "VELTOR", data))
        << "the real Run key was written";
  }

  // Shows the dialog through the export with these steps.
  int run(std::vector<dialog_driver::step> steps) {
    dialog_driver driver(dialog_title, std::move(steps));
    const int result = DLL_Advance();
    steps_run = driver.steps_run();
    return result;
  }

  bool run_value(std::string& data) const {
    return sandbox->read_string(HKEY_LOCAL_MACHINE, dravik::run_key_path, "VELTOR", data);
  }

  companion_stand_in companion;
  schedule_task_cleanup task_cleanup;
  fixed_drives_io drives{"CDE"};
  engine_in_folder engine{companion.folder() + "Tessarel.exe"};
  dravik::Advance& advance_dialog = *engine->advance_dialog;
  int& companion_run_flag = engine->options.companion_run_flag;
  message_recorder messages;
  std::optional<registry_sandbox> sandbox;  // made by the tests that confirm the dialog
  std::size_t steps_run = 0;
};

using AdvancedDialog = Advanced;

// During a run, or from inside its own loop, the export shows nothing.
TEST_F(AdvancedDialog, RefusedDuringARunAndFromInsideItself) {
  engine->job.run_active = true;
  EXPECT_EQ(run({[](HWND) { ADD_FAILURE() << "shown during a run"; }}), -1);
  EXPECT_EQ(steps_run, 0u);
  engine->job.run_active = false;

  int nested_result = 0;
  EXPECT_EQ(run({[&](HWND) { nested_result = DLL_Advance(); },
                 [](HWND dialog) { click(dialog, IDCANCEL); }}),
            IDCANCEL);
  EXPECT_EQ(nested_result, -1);
}

TEST_F(AdvancedDialog, ShowsItsTemplateWithTheCurrentState) {
  advance_dialog.companion_run_check = 1;
  run({[](HWND dialog) {
    const template_control controls[] = {
        {IDOK, L"确定", {68, 161, 50, 14}},
        {IDCANCEL, L"取消", {145, 161, 50, 14}},
        {IDC_ADVANCE_COMPANION_RUN, L"Windows 启动时运行实时碎片整理。(推荐)", {31, 68, 211, 10}},
        // The template's "打开" is replaced by what the process list says.
        {IDC_ADVANCE_COMPANION, L"开启", {105, 87, 50, 14}},
        {IDC_ADVANCE_ADD_TASK, L"添加任务", {26, 131, 66, 14}},
        {IDC_ADVANCE_EDIT_TASK, L"编辑任务", {96, 131, 66, 14}},
        {IDC_ADVANCE_REMOVE_TASK, L"移除任务", {166, 131, 66, 14}},
    };
    for (const template_control& c : controls) expect_template_control(dialog, c);
    EXPECT_TRUE(checked(dialog, IDC_ADVANCE_COMPANION_RUN));
    EXPECT_EQ(task_buttons(dialog), "add");
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps_run, 1u);
}

TEST_F(AdvancedDialog, EnterAndEscapeDoNotCloseIt) {
  const int result = run({
      [](HWND dialog) {
        const HWND box = GetDlgItem(dialog, IDC_ADVANCE_COMPANION_RUN);
        SetFocus(box);
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
      },
      [](HWND dialog) { click(dialog, IDCANCEL); },
  });
  EXPECT_EQ(steps_run, 2u);
  EXPECT_EQ(result, IDCANCEL);
}

// Before the engine is loaded (or after it is unloaded) the export must not
// show a dialog that would act on freed state.
TEST(AdvanceExport, UnboundExportShowsNothing) {
  ASSERT_EQ(dravik::current_engine(), nullptr);
  dialog_driver driver(dialog_title, {[](HWND) { ADD_FAILURE() << "dialog shown"; }});
  EXPECT_EQ(DLL_Advance(), -1);
  EXPECT_EQ(driver.steps_run(), 0u);
}

class CompanionLogOn : public Advanced {
 protected:
  void SetUp() override {
    sandbox.emplace({HKEY_LOCAL_MACHINE});
    ASSERT_TRUE(sandbox->active());
    Advanced::SetUp();
  }
};

TEST_F(CompanionLogOn, CancelAfterTogglingChangesNeitherFlagNorRegistry) {
  const int result = run({[](HWND dialog) {
    click(dialog, IDC_ADVANCE_COMPANION_RUN);
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(companion_run_flag, 0);
  EXPECT_EQ(advance_dialog.companion_run_check, 0);
  std::string data;
  EXPECT_FALSE(run_value(data));
}

TEST_F(CompanionLogOn, ConfirmedCheckWritesAndRemovesTheRunValue) {
  EXPECT_EQ(run({[](HWND dialog) {
              click(dialog, IDC_ADVANCE_COMPANION_RUN);
              click(dialog, IDOK);
            }}),
            IDOK);
  std::string data;
  ASSERT_TRUE(run_value(data));
  EXPECT_EQ(data, "\"" + companion.folder() + "VELTOR.exe\"");
  EXPECT_EQ(companion_run_flag, 1);

  run({[](HWND dialog) {
    EXPECT_TRUE(checked(dialog, IDC_ADVANCE_COMPANION_RUN));
    click(dialog, IDC_ADVANCE_COMPANION_RUN);
    click(dialog, IDOK);
  }});
  EXPECT_FALSE(run_value(data));
  EXPECT_EQ(companion_run_flag, 0);
  EXPECT_TRUE(messages.texts.empty());
}

// The value is already gone: the user is told, and the flag follows the
// dialog all the same.
TEST_F(CompanionLogOn, UncheckingWithoutRunValueReportsAndClearsTheFlag) {
  companion_run_flag = 1;
  advance_dialog.companion_run_check = 1;
  run({[](HWND dialog) {
    click(dialog, IDC_ADVANCE_COMPANION_RUN);
    click(dialog, IDOK);
  }});
  EXPECT_EQ(messages.texts, strings{"删除注册表键失败."});
  EXPECT_EQ(companion_run_flag, 0);
}

using CompanionButton = Advanced;

TEST_F(CompanionButton, StartsTheCompanionAndEndsItAgain) {
  std::vector<DWORD> running_after_start;
  run({
      [](HWND dialog) {
        EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"开启");
        click(dialog, IDC_ADVANCE_COMPANION);
        EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"关闭");
      },
      [&](HWND dialog) {
        running_after_start = companion.running();
        click(dialog, IDC_ADVANCE_COMPANION);
        EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"开启");
      },
      [](HWND dialog) { click(dialog, IDCANCEL); },
  });
  EXPECT_EQ(steps_run, 3u);
  ASSERT_EQ(running_after_start.size(), 1u);
  EXPECT_TRUE(companion.running().empty());
  EXPECT_EQ(advance_dialog.companion_running, 0);
  EXPECT_EQ(advance_dialog.companion_pid, 0u);
}

TEST_F(CompanionButton, ARunningCompanionIsFoundAndEnded) {
  const DWORD id = companion.start();
  ASSERT_NE(id, 0u);
  run({[&](HWND dialog) {
    EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"关闭");
    EXPECT_EQ(advance_dialog.companion_pid, id);
    click(dialog, IDC_ADVANCE_COMPANION);
    EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"开启");
    EXPECT_TRUE(companion.running().empty());
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps_run, 1u);
}

// The companion the dialog found ended and another started meanwhile: the
// old id is no longer the companion's, so nothing is ended, and the button
// shows the one that runs now.
TEST_F(CompanionButton, AnIdGoneStaleIsNotEnded) {
  ASSERT_NE(companion.start(), 0u);
  DWORD second = 0;
  run({[&](HWND dialog) {
    companion.end_all();
    second = companion.start();
    ASSERT_NE(second, 0u);
    click(dialog, IDC_ADVANCE_COMPANION);
    EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"关闭");
    EXPECT_EQ(advance_dialog.companion_pid, second);
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(companion.running(), std::vector<DWORD>{second});
}

TEST_F(CompanionButton, ACompanionThatCannotStartLeavesTheButtonAlone) {
  DeleteFileA(companion.executable().c_str());
  run({[](HWND dialog) {
    click(dialog, IDC_ADVANCE_COMPANION);
    EXPECT_EQ(text_of(dialog, IDC_ADVANCE_COMPANION), L"开启");
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(advance_dialog.companion_running, 0);
  EXPECT_EQ(steps_run, 1u);
}

using TaskButtons = Advanced;

// The whole add: the schedule dialog (a nested modal dialog, driven from
// the advanced dialog's steps), the task, the buttons; then remove.
TEST_F(TaskButtons, AddCreatesTheTaskForTheChosenVolumesAndRemoveDeletesIt) {
  run({
      [](HWND dialog) {
        EXPECT_EQ(task_buttons(dialog), "add");
        click(dialog, IDC_ADVANCE_ADD_TASK);
        EXPECT_EQ(task_buttons(dialog), "edit remove");
      },
      [](HWND) {
        // Runs while the schedule dialog is up.
        const HWND schedule = dialog_driver::find(L"Tessarel清单");
        ASSERT_NE(schedule, nullptr);
        const HWND list = GetDlgItem(schedule, IDC_SCHEDULE_VOLUMES);
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        ListView_SetCheckState(list, 1, TRUE);
        ListView_SetCheckState(list, 2, TRUE);
        click(schedule, IDOK);
      },
      [&](HWND) {
        const dravik::com_session com;
        const dravik::com_ptr<ITask> task = dravik::open_schedule_task();
        ASSERT_TRUE(task);
        LPWSTR text = nullptr;
        ASSERT_TRUE(SUCCEEDED(task->GetParameters(&text)));
        EXPECT_STREQ(text, L"DE");
        CoTaskMemFree(text);
        ASSERT_TRUE(SUCCEEDED(task->GetApplicationName(&text)));
        EXPECT_STREQ(text, L"C:\\Program Files\\Tessarel\\Tessarel.exe");
        CoTaskMemFree(text);
      },
      [](HWND dialog) {
        click(dialog, IDC_ADVANCE_REMOVE_TASK);
        EXPECT_EQ(task_buttons(dialog), "add");
        click(dialog, IDCANCEL);
      },
  });
  EXPECT_EQ(steps_run, 4u);
  EXPECT_EQ(advance_dialog.schedule_letters, "DE");
  EXPECT_TRUE(messages.texts.empty());
  const dravik::com_session com;
  EXPECT_EQ(dravik::find_schedule_task(), dravik::task_lookup::not_found);
}

TEST_F(TaskButtons, CancelledScheduleDialogCreatesNothing) {
  run({
      [](HWND dialog) {
        click(dialog, IDC_ADVANCE_ADD_TASK);
        EXPECT_EQ(task_buttons(dialog), "add");
        click(dialog, IDCANCEL);
      },
      [](HWND) { click(dialog_driver::find(L"Tessarel清单"), IDCANCEL); },
  });
  EXPECT_EQ(steps_run, 2u);
  const dravik::com_session com;
  EXPECT_EQ(dravik::find_schedule_task(), dravik::task_lookup::not_found);
}

// A task that could not be saved must not look as if it existed.
TEST_F(TaskButtons, FailedSaveIsReportedAndKeepsTheAddButton) {
  const std::wstring file = schedule_task_cleanup::task_file();
  CreateDirectoryW(file.substr(0, file.find_last_of(L'\\')).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
  run({
      [](HWND dialog) {
        click(dialog, IDC_ADVANCE_ADD_TASK);
        EXPECT_EQ(task_buttons(dialog), "add");
        click(dialog, IDCANCEL);
      },
      [](HWND) {
        const HWND schedule = dialog_driver::find(L"Tessarel清单");
        ListView_SetCheckState(GetDlgItem(schedule, IDC_SCHEDULE_VOLUMES), 0, TRUE);
        click(schedule, IDOK);
      },
  });
  RemoveDirectoryW(file.c_str());
  EXPECT_EQ(messages.texts, strings{"创建任务失败."});
}

TEST_F(TaskButtons, AnExistingTaskOffersEditAndRemove) {
  {
    const dravik::com_session com;
    ASSERT_TRUE(dravik::create_schedule_task(
        {L"user", L"C:\\T.exe", L"C", L"C:\\", dravik::daily_trigger(SYSTEMTIME{2024, 5, 5, 3})},
        false));
  }
  run({
      [](HWND dialog) {
        EXPECT_EQ(task_buttons(dialog), "edit remove");
        // Wine cannot show a task's property pages: the user is told.
        click(dialog, IDC_ADVANCE_EDIT_TASK);
      },
      [](HWND dialog) {
        // Removed behind the dialog's back: removing fails, and the buttons
        // show that there is no task.
        schedule_task_cleanup::remove();
        click(dialog, IDC_ADVANCE_REMOVE_TASK);
        EXPECT_EQ(task_buttons(dialog), "add");
        click(dialog, IDCANCEL);
      },
  });
  EXPECT_EQ(steps_run, 2u);
  EXPECT_EQ(messages.texts, (strings{"编辑任务失败.", "删除任务失败."}));
}

// COM already set up for another apartment on this thread cannot be
// initialised for the dialog: no task button may be offered.
TEST_F(TaskButtons, WithoutComNoTaskButtonIsEnabled) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  run({[](HWND dialog) {
    EXPECT_EQ(task_buttons(dialog), "");
    click(dialog, IDCANCEL);
  }});
  CoUninitialize();
  EXPECT_EQ(steps_run, 1u);
}

}  // namespace
}  // namespace dravik::testing
