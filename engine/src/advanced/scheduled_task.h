#pragma once
// The scheduled task "Tessarel 任务" through the Task Scheduler 1.0
// interfaces. Every function needs COM initialised on the calling thread
// (com_session) and releases every interface it obtains.

#include "advanced/com_ptr.h"
#include "advanced/task_settings.h"

namespace dravik {

enum class task_lookup {
  found,
  not_found,     // also a task file that cannot be read
  no_scheduler,  // the Task Scheduler object cannot be created
};

task_lookup find_schedule_task();

// The task itself, to read; null when it is not found or there is no
// scheduler.
com_ptr<ITask> open_schedule_task();

// Creates and saves the task. When show_properties is set, the task's
// property pages are offered to the user before it is saved (what they do
// there is kept). false when any step fails: the task was then not saved by
// this call.
bool create_schedule_task(const task_settings& settings, bool show_properties);

// Shows the property pages of the existing task. false when there is no
// scheduler, no such task, or the pages cannot be shown.
bool edit_schedule_task();

// false when there is no scheduler or the task cannot be deleted (also when
// it does not exist).
bool delete_schedule_task();

}  // namespace dravik
