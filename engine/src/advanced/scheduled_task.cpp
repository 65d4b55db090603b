#include "advanced/scheduled_task.h"

#include "advanced/com_ptr.h"

#include <mstask.h>

namespace dravik {

namespace {

// The Task Scheduler's class and interface ids, spelled out here: the
// toolchain's import libraries do not define them.
const CLSID task_scheduler_class = {
    0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const CLSID task_class = {
    0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID task_scheduler_interface = {
    0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID task_interface = {
    0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

com_ptr<ITaskScheduler> create_scheduler() {
  com_ptr<ITaskScheduler> scheduler;
  if (FAILED(CoCreateInstance(task_scheduler_class, nullptr, CLSCTX_INPROC_SERVER,
                              task_scheduler_interface, scheduler.put_as<void>())))
    scheduler.reset();
  return scheduler;
}

com_ptr<ITask> activate_task(ITaskScheduler& scheduler) {
  com_ptr<ITask> task;
  if (FAILED(scheduler.Activate(schedule_task_name, task_interface, task.put_as<IUnknown>())))
    task.reset();
  return task;
}

bool set_trigger(ITask& task, const TASK_TRIGGER& trigger) {
  WORD index = 0;
  com_ptr<ITaskTrigger> new_trigger;
  if (FAILED(task.CreateTrigger(&index, new_trigger.put()))) return false;
  TASK_TRIGGER copy = trigger;
  return SUCCEEDED(new_trigger->SetTrigger(&copy));
}

}  // namespace

task_lookup find_schedule_task() {
  const com_ptr<ITaskScheduler> scheduler = create_scheduler();
  if (!scheduler) return task_lookup::no_scheduler;
  return activate_task(*scheduler.get()) ? task_lookup::found : task_lookup::not_found;
}

com_ptr<ITask> open_schedule_task() {
  const com_ptr<ITaskScheduler> scheduler = create_scheduler();
  return scheduler ? activate_task(*scheduler.get()) : com_ptr<ITask>();
}

bool create_schedule_task(const task_settings& settings, bool show_properties) {
  com_ptr<ITask> task;
  {
    const com_ptr<ITaskScheduler> scheduler = create_scheduler();
    if (!scheduler) return false;
    if (FAILED(scheduler->NewWorkItem(schedule_task_name, task_class, task_interface,
                                      task.put_as<IUnknown>())))
      return false;
  }
  // A task that lacks any of these would not run what the user chose; it is
  // not saved.
  if (FAILED(task->SetAccountInformation(settings.account.c_str(), nullptr)) ||
      FAILED(task->SetComment(schedule_task_comment)) ||
      FAILED(task->SetApplicationName(settings.application.c_str())) ||
      FAILED(task->SetParameters(settings.parameters.c_str())) ||
      FAILED(task->SetWorkingDirectory(settings.working_directory.c_str())) ||
      FAILED(task->SetFlags(schedule_task_flags)) || !set_trigger(*task.get(), settings.trigger))
    return false;

  // The user may look at the pages or cancel them; either way the task is
  // saved as it then stands.
  if (show_properties) task->EditWorkItem(nullptr, 0);

  com_ptr<IPersistFile> file;
  if (FAILED(task->QueryInterface(IID_IPersistFile, file.put_as<void>()))) return false;
  task.reset();
  return SUCCEEDED(file->Save(nullptr, TRUE));
}

bool edit_schedule_task() {
  const com_ptr<ITask> task = open_schedule_task();
  return task && SUCCEEDED(task->EditWorkItem(nullptr, 0));
}

bool delete_schedule_task() {
  const com_ptr<ITaskScheduler> scheduler = create_scheduler();
  if (!scheduler) return false;
  // The scheduler service reads a task file right after it is written; a
  // delete that meets that read fails (sharing violation, or access denied
  // while the file is held), so it is tried again for a few seconds.
  constexpr int attempts = 60;
  for (int attempt = 1;; ++attempt) {
    const HRESULT result = scheduler->Delete(schedule_task_name);
    if (SUCCEEDED(result)) return true;
    const bool held = result == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
                      result == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    if (!held || attempt == attempts) return false;
    Sleep(50);
  }
}

}  // namespace dravik
