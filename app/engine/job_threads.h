#pragma once
// The job threads of the program: started with _beginthreadex, their handles
// kept so that the engine is unloaded only after every one has ended. All
// members run on the user interface thread.

#include <process.h>
#include <windows.h>

#include <vector>

#include "tessarel/unique_handle.h"

namespace tessarel {

using thread_procedure = unsigned(__stdcall*)(void* argument);

class job_thread_set {
 public:
  job_thread_set() = default;
  // Waits for every thread still running.
  ~job_thread_set() { wait_all(); }
  job_thread_set(const job_thread_set&) = delete;
  job_thread_set& operator=(const job_thread_set&) = delete;

  // Starts procedure(argument) on a new thread and keeps its handle. False
  // when the thread could not be started: procedure never runs and argument
  // stays the caller's. Throws only before the thread starts.
  bool start(thread_procedure procedure, void* argument);

  // True while a thread started here has not ended.
  bool any_running();

  // Returns when every thread started here has ended.
  void wait_all();

 private:
  // Closes the handles of the threads that have ended.
  void forget_ended();

  std::vector<unique_kernel_handle> threads_;
};

// How threads are started: _beginthreadex unless a test installed another.
using thread_starter = decltype(&_beginthreadex);
// Installs starter (null puts _beginthreadex back); returns the one replaced.
thread_starter install_thread_starter(thread_starter starter);

}  // namespace tessarel
