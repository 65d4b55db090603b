#include "engine/job_threads.h"

#include <algorithm>

namespace tessarel {
namespace {

thread_starter installed_starter = nullptr;

bool has_ended(const unique_kernel_handle& thread) {
  return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
}

}  // namespace

thread_starter install_thread_starter(thread_starter starter) {
  const thread_starter previous = installed_starter;
  installed_starter = starter;
  return previous;
}

bool job_thread_set::start(thread_procedure procedure, void* argument) {
  forget_ended();
  // Room for the handle before the thread runs: once it has started, nothing
  // here may throw, or the caller would free the argument under the thread.
  threads_.reserve(threads_.size() + 1);
  const thread_starter starter = installed_starter ? installed_starter : &_beginthreadex;
  const uintptr_t thread = starter(nullptr, 0, procedure, argument, 0, nullptr);
  if (thread == 0) return false;
  threads_.emplace_back(reinterpret_cast<HANDLE>(thread));
  return true;
}

bool job_thread_set::any_running() {
  forget_ended();
  return !threads_.empty();
}

// Job threads only post to this thread, never send to it, so waiting
// without dispatching messages cannot deadlock.
void job_thread_set::wait_all() {
  for (const unique_kernel_handle& thread : threads_) {
    WaitForSingleObject(thread.get(), INFINITE);
  }
  threads_.clear();
}

void job_thread_set::forget_ended() {
  threads_.erase(std::remove_if(threads_.begin(), threads_.end(), has_ended), threads_.end());
}

}  // namespace tessarel
