#pragma once
// What the scheduled task "Tessarel 任务" holds: the values are worked out
// here from plain inputs; scheduled_task.h hands them to the Task Scheduler.

#include <windows.h>

#include <mstask.h>

#include <cstddef>
#include <optional>
#include <string>

namespace dravik {

// The task's name, also the name of its file in the system's task folder.
extern const wchar_t* const schedule_task_name;
extern const wchar_t* const schedule_task_comment;

// Interactive, and only while the account is logged on: the task runs the
// user interface program on the user's desktop.
constexpr DWORD schedule_task_flags = TASK_FLAG_INTERACTIVE | TASK_FLAG_RUN_ONLY_IF_LOGGED_ON;

// Each text the task is given must fit 255 characters.
constexpr std::size_t max_task_text_length = 255;

struct task_settings {
  std::wstring account;            // the current user; no password
  std::wstring application;        // the user interface program
  std::wstring parameters;         // the chosen drive letters, e.g. DE
  std::wstring working_directory;  // the application folder
  TASK_TRIGGER trigger;
};

// Every day at 15:00, from today on, without an end date.
TASK_TRIGGER daily_trigger(const SYSTEMTIME& today);

// The account for a user name (ANSI code page): the name itself, except that
// any spelling of "Administrator" becomes "Administrator".
std::wstring task_account_name(const std::string& user_name);

// An ANSI code page text as the task takes it; nothing when it does not fit
// max_task_text_length characters. A cut path or letter list would run
// something other than what the user chose.
std::optional<std::wstring> task_text(const std::string& ansi_text);

// All settings of the task, or nothing when a text does not fit or the user
// name is empty (it could not be found out).
std::optional<task_settings> make_task_settings(const std::string& user_name,
                                                const std::string& program_path,
                                                const std::string& letters,
                                                const std::string& working_folder,
                                                const SYSTEMTIME& today);

}  // namespace dravik
