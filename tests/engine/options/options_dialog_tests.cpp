// The options as the program uses them: loaded from the application folder,
// edited through DLL_Options with the real dialog (driven with messages under
// the test display), read back through the flag exports.

#include "dravik/option_exports.h"
#include "options/engine_options.h"
#include "options/exclusion_lists.h"
#include "options/filter_dialog.h"
#include "resources/filter_dialog_ids.h"
#include "options/run_key_entry.h"

#include "dialog_driver.h"
#include "advanced/fixed_drives_io.h"
#include "engine_in_folder.h"
#include "registry_sandbox/registry_sandbox.h"
#include "message_recorder.h"
#include "scratch_folder/scratch_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace dravik::testing {
namespace {

using dravik::file_exclusion;
using dravik::file_exclusion_kind;
using tessarel::testing::read_registry_string;
using tessarel::testing::registry_sandbox;
using tessarel::testing::scratch_folder;

using strings = std::vector<std::string>;

const wchar_t* const dialog_title = L"Tessarel选项";

// The engine loaded over no volumes, its application folder a scratch folder;
// the dialog, the lists and the flags are the engine's own.
class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sandbox->active());
    reset_filter_dialog();
    excluded_folders.clear();
    excluded_files.clear();
  }

  void TearDown() override {
    sandbox.reset();
    std::string data;
    EXPECT_FALSE(read_registry_string(HKEY_LOCAL_MACHINE, dravik::run_key_path, "Tessarel", data))
        << "the real Run key was written";
  }

  // What the application object does at load.
  void load() {
    dravik::read_presets(application_folder, engine->options, filter_dialog);
    dravik::read_option_flags(application_folder, engine->options, filter_dialog);
  }

  // The folders after the eight built-ins.
  strings user_folders() const {
    if (excluded_folders.size() < dravik::builtin_excluded_folders.size())
      return {"(built-ins missing)"};
    return strings(excluded_folders.begin() + dravik::builtin_excluded_folders.size(),
                   excluded_folders.end());
  }

  void reset_filter_dialog() {
    filter_dialog.folder_text.clear();
    filter_dialog.file_text.clear();
    filter_dialog.type_text.clear();
    filter_dialog.auto_run_check = 0;
    filter_dialog.logout_check = 0;
    filter_dialog.restart_check = 0;
  }

  // Shows the dialog through the export with these steps.
  std::size_t run_dialog(std::vector<dialog_driver::step> steps) {
    dialog_driver driver(dialog_title, std::move(steps));
    DLL_Options();
    return driver.steps_run();
  }

  bool run_value(std::string& data) const {
    return sandbox->read_string(HKEY_LOCAL_MACHINE, dravik::run_key_path, "Tessarel", data);
  }

  scratch_folder folder;
  std::string application_folder = folder.path();
  std::string host_executable_path = application_folder + "Tessarel.exe";
  fixed_drives_io drives{""};
  engine_in_folder engine{host_executable_path};
  dravik::Filter& filter_dialog = *engine->filter_dialog;
  dravik::folder_exclusions& excluded_folders = engine->options.excluded_folders;
  dravik::file_exclusions& excluded_files = engine->options.excluded_files;
  int& auto_run = engine->options.auto_run_flag;
  int& logout = engine->options.logout_flag;
  int& restart = engine->options.restart_flag;
  int& companion_run = engine->options.companion_run_flag;
  message_recorder messages;
  std::optional<registry_sandbox> sandbox{std::in_place, {HKEY_LOCAL_MACHINE}};
};

using OptionsLoad = Options;

TEST_F(OptionsLoad, WithoutFilesOnlyTheBuiltinFoldersAreExcluded) {
  filter_dialog.logout_check = 1;
  load();
  EXPECT_EQ(excluded_folders, (strings{"System Volume Information", "RECYCLER", "dllcache", "Help",
                                       "cache", "Fonts", "Installer", "Local Settings"}));
  EXPECT_TRUE(excluded_files.empty());
  EXPECT_EQ(filter_dialog.folder_text, "");
  EXPECT_EQ(filter_dialog.type_text, "");
  EXPECT_EQ(auto_run + logout + restart + companion_run, 0);
  // Without "Setting" the dialog's check values are left alone.
  EXPECT_EQ(filter_dialog.logout_check, 1);
  EXPECT_FALSE(folder.exists("Setting"));
}

// Reading again (a second load in one process) must not list the built-ins
// twice or append the file's entries to the previous ones.
TEST_F(OptionsLoad, PresetsFollowTheBuiltinsAndFillTheDialogTexts) {
  folder.write("preset.ini", "[folder]\r\nTemp\r\n[file]\r\nThumbs.db\r\n[type]\r\nexe");
  load();
  load();
  EXPECT_EQ(excluded_folders.size(), 9u);
  EXPECT_EQ(user_folders(), (strings{"Temp"}));
  EXPECT_EQ(excluded_files, (std::vector<file_exclusion>{{"Thumbs.db", file_exclusion_kind::file},
                                                         {"exe", file_exclusion_kind::type}}));
  EXPECT_EQ(filter_dialog.folder_text, "Temp;");
  EXPECT_EQ(filter_dialog.file_text, "Thumbs.db;");
  EXPECT_EQ(filter_dialog.type_text, "exe;");
}

TEST_F(OptionsLoad, SettingFlagsReachTheExportsAndTheDialogChecks) {
  folder.write("Setting", std::string(9, '\x00') + std::string("\x01\x01\x00\x01", 4));
  load();
  EXPECT_TRUE(DLL_GetAutoRun());
  EXPECT_TRUE(DLL_GetLogout());
  EXPECT_FALSE(DLL_GetRestart());
  EXPECT_EQ(companion_run, 1);
  EXPECT_EQ(filter_dialog.auto_run_check, 1);
  EXPECT_EQ(filter_dialog.logout_check, 1);
  EXPECT_EQ(filter_dialog.restart_check, 0);
}

TEST_F(OptionsLoad, FlagsWrittenAtUnloadAreReadAtTheNextLoad) {
  folder.write("Setting", "123456789" + std::string(4, '\x00'));
  restart = 1;
  companion_run = 1;
  ASSERT_TRUE(dravik::write_option_flags(application_folder, engine->options));
  restart = 0;
  companion_run = 0;
  load();
  EXPECT_TRUE(DLL_GetRestart());
  EXPECT_EQ(companion_run, 1);
  EXPECT_EQ(folder.read("Setting").value_or("").substr(0, 9), "123456789");
}

// Before the engine is loaded (or after it is unloaded) the exports must
// neither show a dialog nor read freed flags.
TEST(OptionExports, UnboundExportsDoNothing) {
  ASSERT_EQ(dravik::current_engine(), nullptr);
  dialog_driver driver(dialog_title, {[](HWND) { ADD_FAILURE() << "dialog shown"; }});
  DLL_Options();
  EXPECT_EQ(driver.steps_run(), 0u);
  EXPECT_FALSE(DLL_GetAutoRun());
  EXPECT_FALSE(DLL_GetLogout());
  EXPECT_FALSE(DLL_GetRestart());
}

using OptionsDialog = Options;

TEST_F(OptionsDialog, ShowsItsTemplateWithTheMemberValues) {
  filter_dialog.folder_text = "a;b;";
  filter_dialog.type_text = "exe;";
  filter_dialog.restart_check = 1;
  const std::size_t steps = run_dialog({[](HWND dialog) {
    const template_control controls[] = {
        {IDOK, L"确定", {58, 203, 50, 14}},
        {IDCANCEL, L"取消", {157, 203, 50, 14}},
        {IDC_FILTER_FOLDERS, L"a;b;", {46, 54, 186, 16}},
        {IDC_FILTER_FILES, L"", {46, 77, 186, 16}},
        {IDC_FILTER_TYPES, L"exe;", {46, 109, 186, 16}},
        {IDC_FILTER_LOGOUT, L"磁盘碎片整理完后关闭计算机", {13, 159, 128, 10}},
        {IDC_FILTER_AUTO_RUN, L"Windows 启动时运行", {158, 159, 92, 10}},
        {IDC_FILTER_RESTART, L"磁盘碎片整理完后进行重新启动", {13, 174, 126, 10}},
    };
    for (const template_control& c : controls) expect_template_control(dialog, c);
    EXPECT_TRUE(checked(dialog, IDC_FILTER_RESTART));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_LOGOUT));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_AUTO_RUN));
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps, 1u);
}

// The six-line file read at load and confirmed unchanged is written again
// byte for byte, the last line without a line end.
TEST_F(OptionsDialog, ConfirmingUnchangedRewritesTheSameFile) {
  const std::string original = "[folder]\r\na\r\nb\r\n[file]\r\n[type]\r\nexe";
  folder.write("preset.ini", original);
  load();
  const std::size_t steps = run_dialog({[](HWND dialog) {
    EXPECT_EQ(text_of(dialog, IDC_FILTER_FOLDERS), L"a;b;");
    EXPECT_EQ(text_of(dialog, IDC_FILTER_FILES), L"");
    EXPECT_EQ(text_of(dialog, IDC_FILTER_TYPES), L"exe;");
    click(dialog, IDOK);
  }});
  EXPECT_EQ(steps, 1u);
  EXPECT_EQ(folder.read("preset.ini"), original);
  EXPECT_EQ(user_folders(), (strings{"a", "b"}));
  EXPECT_EQ(excluded_files, (std::vector<file_exclusion>{{"exe", file_exclusion_kind::type}}));
  EXPECT_TRUE(messages.texts.empty());
}

// Blanks go from every entry, not only its ends; the dialog keeps the text
// as typed. After the dialog all file entries precede all type entries.
TEST_F(OptionsDialog, ConfirmedTextsBecomeEntriesWithoutBlanks) {
  load();
  run_dialog({[](HWND dialog) {
    set_text(dialog, IDC_FILTER_FOLDERS, L"Local Settings;临时");
    set_text(dialog, IDC_FILTER_FILES, L"Thumbs.db");
    set_text(dialog, IDC_FILTER_TYPES, L"");
    click(dialog, IDOK);
  }});
  const std::string temp_gbk = "\xC1\xD9\xCA\xB1";  // 临时
  EXPECT_EQ(folder.read("preset.ini"),
            "[folder]\r\nLocalSettings\r\n" + temp_gbk + "\r\n[file]\r\nThumbs.db\r\n[type]");
  EXPECT_EQ(user_folders(), (strings{"LocalSettings", temp_gbk}));
  EXPECT_EQ(filter_dialog.folder_text, "Local Settings;" + temp_gbk);

  const std::size_t steps = run_dialog({[](HWND dialog) {
    EXPECT_EQ(text_of(dialog, IDC_FILTER_FOLDERS), L"Local Settings;临时");
    set_text(dialog, IDC_FILTER_TYPES, L"exe; rar");
    click(dialog, IDOK);
  }});
  EXPECT_EQ(steps, 1u);
  EXPECT_EQ(excluded_files, (std::vector<file_exclusion>{{"Thumbs.db", file_exclusion_kind::file},
                                                         {"exe", file_exclusion_kind::type},
                                                         {"rar", file_exclusion_kind::type}}));
  EXPECT_TRUE(dravik::file_name_excluded(excluded_files, "SETUP.EXE"));
}

TEST_F(OptionsDialog, ShutdownAndRestartExcludeEachOther) {
  load();
  run_dialog({[](HWND dialog) {
    click(dialog, IDC_FILTER_RESTART);
    EXPECT_TRUE(checked(dialog, IDC_FILTER_RESTART));
    click(dialog, IDC_FILTER_LOGOUT);
    EXPECT_TRUE(checked(dialog, IDC_FILTER_LOGOUT));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_RESTART));
    click(dialog, IDC_FILTER_RESTART);
    EXPECT_TRUE(checked(dialog, IDC_FILTER_RESTART));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_LOGOUT));
    click(dialog, IDC_FILTER_RESTART);
    EXPECT_FALSE(checked(dialog, IDC_FILTER_RESTART));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_LOGOUT));
    click(dialog, IDC_FILTER_LOGOUT);
    click(dialog, IDOK);
  }});
  EXPECT_TRUE(DLL_GetLogout());
  EXPECT_FALSE(DLL_GetRestart());
}

// Cancel after edits and clicks leaves everything as it was, and the next
// showing looks exactly like the one before.
TEST_F(OptionsDialog, CancelAfterChangesRestoresTheShowing) {
  folder.write("preset.ini", "[folder]\r\nTemp");
  load();
  filter_dialog.logout_check = 1;
  run_dialog({[](HWND dialog) {
    set_text(dialog, IDC_FILTER_FOLDERS, L"Other");
    set_text(dialog, IDC_FILTER_TYPES, L"exe");
    click(dialog, IDC_FILTER_RESTART);  // also takes the edited texts
    click(dialog, IDC_FILTER_AUTO_RUN);
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(filter_dialog.folder_text, "Temp;");
  EXPECT_EQ(filter_dialog.type_text, "");
  EXPECT_EQ(filter_dialog.logout_check, 1);
  EXPECT_EQ(filter_dialog.restart_check, 0);
  EXPECT_EQ(filter_dialog.auto_run_check, 0);
  EXPECT_EQ(folder.read("preset.ini"), "[folder]\r\nTemp");
  EXPECT_EQ(user_folders(), (strings{"Temp"}));
  EXPECT_FALSE(DLL_GetRestart());
  EXPECT_FALSE(DLL_GetAutoRun());
  std::string data;
  EXPECT_FALSE(run_value(data));

  const std::size_t steps = run_dialog({[](HWND dialog) {
    EXPECT_EQ(text_of(dialog, IDC_FILTER_FOLDERS), L"Temp;");
    EXPECT_EQ(text_of(dialog, IDC_FILTER_TYPES), L"");
    EXPECT_TRUE(checked(dialog, IDC_FILTER_LOGOUT));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_RESTART));
    EXPECT_FALSE(checked(dialog, IDC_FILTER_AUTO_RUN));
    click(dialog, IDCANCEL);
  }});
  EXPECT_EQ(steps, 1u);
}

// Keys posted to the edit go through the modal loop as typed keys do.
TEST_F(OptionsDialog, EnterAndEscapeDoNotCloseIt) {
  load();
  const std::size_t steps = run_dialog({
      [](HWND dialog) {
        const HWND edit = GetDlgItem(dialog, IDC_FILTER_FOLDERS);
        SetFocus(edit);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
      },
      [](HWND dialog) { click(dialog, IDCANCEL); },
  });
  EXPECT_EQ(steps, 2u);
  EXPECT_FALSE(folder.exists("preset.ini"));
}

TEST_F(OptionsDialog, CheckingStartUpWritesTheRunValue) {
  load();
  run_dialog({[](HWND dialog) {
    click(dialog, IDC_FILTER_AUTO_RUN);
    click(dialog, IDOK);
  }});
  std::string data;
  ASSERT_TRUE(run_value(data));
  EXPECT_EQ(data, "\"" + host_executable_path + "\"");
  EXPECT_TRUE(DLL_GetAutoRun());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(OptionsDialog, UncheckingStartUpDeletesTheRunValue) {
  folder.write("Setting", std::string(9, '\x00') + std::string("\x01\x00\x00\x00", 4));
  ASSERT_TRUE(sandbox->write_string(HKEY_LOCAL_MACHINE, dravik::run_key_path, "Tessarel",
                                    host_executable_path));
  load();
  run_dialog({[](HWND dialog) {
    EXPECT_TRUE(checked(dialog, IDC_FILTER_AUTO_RUN));
    click(dialog, IDC_FILTER_AUTO_RUN);
    click(dialog, IDOK);
  }});
  std::string data;
  EXPECT_FALSE(run_value(data));
  EXPECT_FALSE(DLL_GetAutoRun());
  EXPECT_TRUE(messages.texts.empty());
}

// The value is already gone: the user is told, and the flag follows the
// dialog all the same.
TEST_F(OptionsDialog, UncheckingWithoutRunValueReportsAndClearsTheFlag) {
  folder.write("Setting", std::string(9, '\x00') + std::string("\x01\x00\x00\x00", 4));
  load();
  run_dialog({[](HWND dialog) {
    click(dialog, IDC_FILTER_AUTO_RUN);
    click(dialog, IDOK);
  }});
  EXPECT_EQ(messages.texts, (strings{"删除注册表键失败."}));
  EXPECT_EQ(messages.types, (std::vector<UINT>{MB_OK}));
  EXPECT_FALSE(DLL_GetAutoRun());
}

// A flag byte other than 0 or 1 (a hand-edited file) shows as checked, and
// confirming without a change writes no Run value nobody asked for.
TEST_F(OptionsDialog, AnyNonZeroFlagByteIsOnAndConfirmingAddsNoRunValue) {
  folder.write("Setting", std::string(9, '\x00') + std::string("\x02\x00\x00\x00", 4));
  load();
  run_dialog({[](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_FILTER_AUTO_RUN, BM_GETCHECK, 0, 0), BST_CHECKED);
    click(dialog, IDOK);
  }});
  std::string data;
  EXPECT_FALSE(run_value(data));
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_TRUE(DLL_GetAutoRun());
}

// During a run the walkers read the lists a confirmed dialog replaces; from
// inside its own loop a second dialog would edit the same values.
TEST_F(OptionsDialog, RefusedDuringARunAndFromInsideItself) {
  load();
  engine->job.run_active = true;
  EXPECT_EQ(run_dialog({[](HWND) { ADD_FAILURE() << "shown during a run"; }}), 0u);
  engine->job.run_active = false;

  std::size_t steps_before_nested_return = 0;
  dialog_driver* driver = nullptr;
  dialog_driver outer(dialog_title, {[&](HWND) {
                                       DLL_Options();
                                       steps_before_nested_return = driver->steps_run();
                                     },
                                     [](HWND dialog) { click(dialog, IDCANCEL); }});
  driver = &outer;
  DLL_Options();
  EXPECT_EQ(steps_before_nested_return, 1u) << "the nested call showed a dialog";
  EXPECT_EQ(outer.steps_run(), 2u);
}

// Only a change of the check touches the registry.
TEST_F(OptionsDialog, UnchangedStartUpCheckLeavesTheRegistryAlone) {
  folder.write("Setting", std::string(9, '\x00') + std::string("\x01\x00\x00\x00", 4));
  load();
  run_dialog({[](HWND dialog) { click(dialog, IDOK); }});
  std::string data;
  EXPECT_FALSE(run_value(data));
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_TRUE(DLL_GetAutoRun());
}

// A "preset.ini" that cannot be rewritten keeps its old contents and the
// lists that match them; the user is told. The flags still follow the
// dialog.
TEST_F(OptionsDialog, UnwritablePresetFileKeepsFileAndLists) {
  folder.write("preset.ini", "[folder]\r\nold");
  load();
  const HANDLE locked = CreateFileA((folder.path() + "preset.ini").c_str(), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  run_dialog({[](HWND dialog) {
    set_text(dialog, IDC_FILTER_FOLDERS, L"new");
    click(dialog, IDC_FILTER_LOGOUT);
    click(dialog, IDOK);
  }});
  CloseHandle(locked);
  EXPECT_EQ(folder.read("preset.ini"), "[folder]\r\nold");
  EXPECT_EQ(user_folders(), (strings{"old"}));
  EXPECT_EQ(messages.texts, (strings{"无法写入 preset.ini，筛选项目未更改."}));
  EXPECT_TRUE(DLL_GetLogout());
}

}  // namespace
}  // namespace dravik::testing
