#pragma once
// The program's binding of the engine library: "dravik.dll" loaded from a
// given folder (the program's folder in production), its entry points looked
// up by name, the job threads that run its run exports, and the window on
// which their completions arrive.
//
// Thread: the binding is made, used and destroyed on the user interface
// thread. The job threads call only the run exports, and through
// entry_points().save_registry_report the registry worker calls the report
// export; the binding does not change after construction.

#include <windows.h>

#include <string>

#include "engine/engine_entry_points.h"
#include "engine/job_completion_window.h"
#include "engine/job_threads.h"
#include "tessarel/library_module.h"

namespace tessarel {

class engine_binding {
 public:
  // Loads program_folder + "\dravik.dll" (which runs the engine's start-up
  // on this thread) and binds every entry point the program calls. on_job_done
  // runs on this thread, from its message loop, once per finished job thread.
  // Throws engine_binding_error naming the library or the first missing
  // entry point; the library is then not left loaded. A folder the engine
  // could not name in the ANSI code page (engine/engine_folder.h) is refused
  // the same way, with msg_engine_folder_unusable, before the library loads.
  engine_binding(const std::wstring& program_folder, job_done_callback on_job_done);
  // Waits for every job thread (asking the engine to stop when one is still
  // inside a run), then frees the library, which runs the engine's shut-down.
  ~engine_binding();
  engine_binding(const engine_binding&) = delete;
  engine_binding& operator=(const engine_binding&) = delete;

  const std::wstring& library_file_name() const noexcept { return file_name_; }
  HMODULE module() const noexcept { return module_.get(); }
  // Never null; valid while the binding lives.
  const engine_entry_points& entry_points() const noexcept { return entry_; }

  // Where job threads post their completion, and the threads themselves:
  // for the job starts (engine/engine_job.h) and the program's shut-down.
  const job_completion_window& completion() const noexcept { return completion_; }
  job_completion_window& completion() noexcept { return completion_; }
  job_thread_set& job_threads() noexcept { return threads_; }

 private:
  std::wstring file_name_;
  unique_library_module module_;
  engine_entry_points entry_;
  job_completion_window completion_;
  // Last: destroyed first, so no job thread outlives the window or library.
  job_thread_set threads_;
};

// program_folder + "\" + "dravik.dll"; a trailing separator is not doubled.
std::wstring engine_library_path(const std::wstring& program_folder);

}  // namespace tessarel
