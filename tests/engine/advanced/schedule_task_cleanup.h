#pragma once
// Removes the scheduled task "Tessarel 任务" when the object is made and
// again when it goes, so that no test depends on another's task and none is
// left in the task folder.

#include "advanced/com_ptr.h"
#include "advanced/scheduled_task.h"

#include <windows.h>

#include <string>

namespace dravik::testing {

class schedule_task_cleanup {
 public:
  schedule_task_cleanup() { remove(); }
  ~schedule_task_cleanup() { remove(); }
  schedule_task_cleanup(const schedule_task_cleanup&) = delete;
  schedule_task_cleanup& operator=(const schedule_task_cleanup&) = delete;

  static void remove() {
    const dravik::com_session com;
    if (com.ok()) dravik::delete_schedule_task();
  }

  // The task's file in the system's task folder.
  static std::wstring task_file() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Tasks\\" + dravik::schedule_task_name + L".job";
  }
};

}  // namespace dravik::testing
