#include "advanced/task_settings.h"

#include "text/ansi_text.h"

namespace dravik {

const wchar_t* const schedule_task_name = L"Tessarel 任务";
const wchar_t* const schedule_task_comment = L"在计划的时间运行 Tessarel。";

TASK_TRIGGER daily_trigger(const SYSTEMTIME& today) {
  TASK_TRIGGER trigger{};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.wBeginYear = today.wYear;
  trigger.wBeginMonth = today.wMonth;
  trigger.wBeginDay = today.wDay;
  trigger.wStartHour = 15;
  trigger.TriggerType = TASK_TIME_TRIGGER_DAILY;
  trigger.Type.Daily.DaysInterval = 1;
  return trigger;
}

namespace {

std::wstring wide_from_ansi(const std::string& text) {
  if (text.empty()) return L"";
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return L"";
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

}  // namespace

std::wstring task_account_name(const std::string& user_name) {
  if (ansi_equal_ignoring_case(user_name.c_str(), "Administrator")) return L"Administrator";
  return wide_from_ansi(user_name);
}

std::optional<std::wstring> task_text(const std::string& ansi_text) {
  std::wstring wide = wide_from_ansi(ansi_text);
  if (wide.size() > max_task_text_length) return std::nullopt;
  return wide;
}

std::optional<task_settings> make_task_settings(const std::string& user_name,
                                                const std::string& program_path,
                                                const std::string& letters,
                                                const std::string& working_folder,
                                                const SYSTEMTIME& today) {
  std::optional<std::wstring> account = task_text(user_name);
  std::optional<std::wstring> application = task_text(program_path);
  std::optional<std::wstring> parameters = task_text(letters);
  std::optional<std::wstring> working_directory = task_text(working_folder);
  if (!account || !application || !parameters || !working_directory) return std::nullopt;
  // An empty account names the system's own account: a task that should run
  // on the user's desktop would run unseen with every right.
  if (account->empty()) return std::nullopt;
  return task_settings{task_account_name(user_name), std::move(*application),
                       std::move(*parameters), std::move(*working_directory), daily_trigger(today)};
}

}  // namespace dravik
