#pragma once
// Brings the end of a job thread to the user interface thread. A job thread
// posts its completion to a message-only window made on that thread, and the
// thread's message loop runs the completion callback there: every step of
// the job machine then runs on one thread.

#include <windows.h>

#include <atomic>
#include <functional>

namespace tessarel {

// (first letter of the job, kind 0 analysis or 1 defragmentation, 0, 0).
using job_done_callback = std::function<void(wchar_t letter, int kind, int, int)>;

class job_completion_window {
 public:
  // Makes the window on the calling thread, which is the thread the callback
  // will run on. Throws engine_binding_error when it cannot be made.
  explicit job_completion_window(job_done_callback on_done);
  // Destroys the window on the thread that made it; completions not yet
  // delivered are dropped.
  ~job_completion_window();
  job_completion_window(const job_completion_window&) = delete;
  job_completion_window& operator=(const job_completion_window&) = delete;

  // Any thread: queues one completion. False when it could not be queued
  // (the window is gone or the queue is full).
  bool post(wchar_t letter, int kind) const;

  // Any thread: a completion could not be posted and will never come.
  void note_lost() const noexcept { lost_ = true; }
  // User interface thread: true once for every run of note_lost calls.
  bool take_lost() noexcept { return lost_.exchange(false); }

  HWND window() const noexcept { return window_; }

 private:
  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  job_done_callback on_done_;
  HWND window_ = nullptr;
  mutable std::atomic<bool> lost_{false};
};

}  // namespace tessarel
