#pragma once
// Brings the end of a job thread to the user interface thread. A job thread
// posts its completion to a message-only window made on that thread, and the
// thread's message loop runs the completion callback there: every step of
// the job machine then runs on one thread.

#include <windows.h>

#include <atomic>
#include <functional>

namespace tessarel {

// (first letter of the job, kind 0 analysis or 1 defragmentation, the
// serial of the volume phase the thread ran, 0).
using job_done_callback = std::function<void(wchar_t letter, int kind, int serial, int)>;

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

  // Any thread: queues one completion of the phase serial. False when it
  // could not be queued (the window is gone or the queue is full).
  bool post(wchar_t letter, int kind, int serial) const;

  // Any thread: the completion of phase serial (above 0) could not be posted
  // and will never come. Serials grow from phase to phase: a mark of an
  // earlier phase that comes late does not hide a later one's.
  void note_lost(int serial) const noexcept;
  // User interface thread: true once when the completion of phase serial
  // was noted lost.
  bool take_lost(int serial) noexcept;

  HWND window() const noexcept { return window_; }

 private:
  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  job_done_callback on_done_;
  HWND window_ = nullptr;
  // The latest phase whose completion was lost; 0 none.
  mutable std::atomic<int> lost_{0};
};

}  // namespace tessarel
