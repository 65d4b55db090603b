// The scheduled task: its values worked out from plain inputs, and the task
// itself created, read back, changed and deleted through the real Task
// Scheduler (under Wine it keeps C:\windows\Tasks\<name>.job).

#include "advanced/com_ptr.h"
#include "advanced/scheduled_task.h"
#include "advanced/task_settings.h"

#include "advanced/schedule_task_cleanup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace dravik::testing {
namespace {

using dravik::com_ptr;
using dravik::com_session;
using dravik::task_lookup;
using dravik::task_settings;

SYSTEMTIME date(WORD year, WORD month, WORD day) {
  SYSTEMTIME today{};
  today.wYear = year;
  today.wMonth = month;
  today.wDay = day;
  today.wHour = 21;  // later than the start hour: the task still begins today
  return today;
}

TEST(TaskTrigger, DailyAtThreeInTheAfternoonFromToday) {
  const TASK_TRIGGER trigger = dravik::daily_trigger(date(2024, 2, 29));
  EXPECT_EQ(trigger.cbTriggerSize, 48u);
  EXPECT_EQ(trigger.wBeginYear, 2024);
  EXPECT_EQ(trigger.wBeginMonth, 2);
  EXPECT_EQ(trigger.wBeginDay, 29);
  EXPECT_EQ(trigger.wStartHour, 15);
  EXPECT_EQ(trigger.wStartMinute, 0);
  EXPECT_EQ(trigger.TriggerType, TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(trigger.Type.Daily.DaysInterval, 1);
  // No end date, no duration, no flags.
  EXPECT_EQ(trigger.wEndYear + trigger.wEndMonth + trigger.wEndDay, 0);
  EXPECT_EQ(trigger.MinutesDuration + trigger.MinutesInterval + trigger.rgFlags, 0u);
}

TEST(TaskAccount, AnySpellingOfAdministratorIsPassedAsAdministrator) {
  EXPECT_EQ(dravik::task_account_name("ADMINISTRATOR"), L"Administrator");
  EXPECT_EQ(dravik::task_account_name("administrator"), L"Administrator");
  EXPECT_EQ(dravik::task_account_name("Administrators"), L"Administrators");
  EXPECT_EQ(dravik::task_account_name("\xD5\xC5\xC8\xFD"), L"张三");  // code page 936
}

// A cut path would name another program, cut letters other volumes.
TEST(TaskTexts, LongerThan255CharactersAreRefusedNotCut) {
  EXPECT_EQ(dravik::task_text(std::string(255, 'a')), std::wstring(255, L'a'));
  EXPECT_FALSE(dravik::task_text(std::string(256, 'a')).has_value());
  // Characters count, not bytes: 200 Chinese characters are 400 bytes.
  std::string chinese;
  for (int i = 0; i < 200; ++i) chinese += "\xC8\xCE";  // 任
  EXPECT_EQ(dravik::task_text(chinese)->size(), 200u);

  const SYSTEMTIME today = date(2024, 5, 3);
  EXPECT_TRUE(dravik::make_task_settings("user", "C:\\T\\Tessarel.exe", "CD", "C:\\T\\", today));
  EXPECT_FALSE(
      dravik::make_task_settings("user", "C:\\" + std::string(300, 'p'), "CD", "C:\\T\\", today));
  EXPECT_FALSE(dravik::make_task_settings("user", "C:\\T\\Tessarel.exe", "CD",
                                          std::string(256, 'w'), today));
}

// An empty account would make the task run under the system's account.
TEST(TaskTexts, AnUnknownUserGivesNoTask) {
  EXPECT_FALSE(
      dravik::make_task_settings("", "C:\\T\\Tessarel.exe", "CD", "C:\\T\\", date(2024, 5, 3)));
}

// What a saved task holds, read back through the scheduler.
struct saved_task {
  std::wstring application, parameters, working_directory, comment;
  DWORD flags = 0;
  WORD trigger_count = 0;
  TASK_TRIGGER trigger{};
};

std::wstring take(LPWSTR text) {
  std::wstring copy = text ? text : L"";
  CoTaskMemFree(text);
  return copy;
}

bool read_saved_task(saved_task& out) {
  const com_ptr<ITask> task = dravik::open_schedule_task();
  if (!task) return false;
  LPWSTR text = nullptr;
  if (SUCCEEDED(task->GetApplicationName(&text))) out.application = take(text);
  if (SUCCEEDED(task->GetParameters(&text))) out.parameters = take(text);
  if (SUCCEEDED(task->GetWorkingDirectory(&text))) out.working_directory = take(text);
  if (SUCCEEDED(task->GetComment(&text))) out.comment = take(text);
  task->GetFlags(&out.flags);
  task->GetTriggerCount(&out.trigger_count);
  com_ptr<ITaskTrigger> trigger;
  if (out.trigger_count > 0 && SUCCEEDED(task->GetTrigger(0, trigger.put()))) {
    out.trigger.cbTriggerSize = sizeof out.trigger;
    trigger->GetTrigger(&out.trigger);
  }
  return true;
}

task_settings settings_for(const std::wstring& letters) {
  return {L"user", L"C:\\Program Files\\Tessarel\\Tessarel.exe", letters,
          L"C:\\Program Files\\Tessarel\\", dravik::daily_trigger(date(2024, 5, 3))};
}

class ScheduledTask : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com.ok()); }

  schedule_task_cleanup cleanup;
  com_session com;
};

TEST_F(ScheduledTask, CreatedTaskReadsBackAsGiven) {
  EXPECT_EQ(dravik::find_schedule_task(), task_lookup::not_found);
  ASSERT_TRUE(dravik::create_schedule_task(settings_for(L"DE"), false));
  EXPECT_EQ(dravik::find_schedule_task(), task_lookup::found);
  EXPECT_NE(GetFileAttributesW(schedule_task_cleanup::task_file().c_str()),
            INVALID_FILE_ATTRIBUTES);

  saved_task task;
  ASSERT_TRUE(read_saved_task(task));
  EXPECT_EQ(task.application, L"C:\\Program Files\\Tessarel\\Tessarel.exe");
  EXPECT_EQ(task.parameters, L"DE");
  EXPECT_EQ(task.working_directory, L"C:\\Program Files\\Tessarel\\");
  EXPECT_EQ(task.comment, L"在计划的时间运行 Tessarel。");
  EXPECT_EQ(task.flags, 0x2001u);
  ASSERT_EQ(task.trigger_count, 1);
  EXPECT_EQ(task.trigger.TriggerType, TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(task.trigger.Type.Daily.DaysInterval, 1);
  EXPECT_EQ(task.trigger.wStartHour, 15);
  EXPECT_EQ(task.trigger.wStartMinute, 0);
  EXPECT_EQ(task.trigger.wBeginYear, 2024);
  EXPECT_EQ(task.trigger.wBeginMonth, 5);
  EXPECT_EQ(task.trigger.wBeginDay, 3);
}

// Removing and adding again is how the user changes the letters.
TEST_F(ScheduledTask, DeletedTaskIsGoneAndCanBeCreatedAnew) {
  ASSERT_TRUE(dravik::create_schedule_task(settings_for(L"C"), false));
  ASSERT_TRUE(dravik::delete_schedule_task());
  EXPECT_EQ(dravik::find_schedule_task(), task_lookup::not_found);
  EXPECT_EQ(GetFileAttributesW(schedule_task_cleanup::task_file().c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(dravik::delete_schedule_task()) << "deleting a missing task reported success";

  ASSERT_TRUE(dravik::create_schedule_task(settings_for(L"CDE"), false));
  saved_task task;
  ASSERT_TRUE(read_saved_task(task));
  EXPECT_EQ(task.parameters, L"CDE");
}

TEST_F(ScheduledTask, EditingAMissingTaskFails) { EXPECT_FALSE(dravik::edit_schedule_task()); }

// A directory where the task's file belongs makes the save fail: the call
// must say so, and nothing may look like a task afterwards.
TEST_F(ScheduledTask, FailedSaveIsReportedAndLeavesNoTask) {
  const std::wstring file = schedule_task_cleanup::task_file();
  const std::wstring folder = file.substr(0, file.find_last_of(L'\\'));
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
  const bool created = dravik::create_schedule_task(settings_for(L"D"), false);
  const task_lookup after = dravik::find_schedule_task();
  RemoveDirectoryW(file.c_str());
  EXPECT_FALSE(created);
  EXPECT_EQ(after, task_lookup::not_found);
}

}  // namespace
}  // namespace dravik::testing
