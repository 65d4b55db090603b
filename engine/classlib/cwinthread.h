#pragma once
// Worker threads of our class-library stand-in.
//
// AfxBeginThread runs a procedure on a new thread and returns the thread's
// object. By default the object deletes itself when the procedure returns, so
// a caller that keeps the pointer must not use it once the thread may have
// ended. Start with CREATE_SUSPENDED, record the pointer where others look
// for it, then ResumeThread: the thread cannot end (and clear or free what
// was recorded) before the record exists.

#include <windows.h>

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

class CWinThread {
 public:
  CWinThread(AFX_THREADPROC proc, LPVOID param) noexcept;
  ~CWinThread();
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  // Lets a suspended thread run. Returns the previous suspend count, or
  // (DWORD)-1 on failure. With auto-delete, the object may be gone as soon as
  // this returns.
  DWORD ResumeThread() noexcept;

  HANDLE m_hThread = nullptr;
  UINT m_nThreadID = 0;
  // Delete this object when the procedure returns. Change it only while the
  // thread is suspended.
  bool m_bAutoDelete = true;

 private:
  friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                    LPSECURITY_ATTRIBUTES) noexcept;
  static unsigned __stdcall thread_entry(void* self);

  AFX_THREADPROC proc_;
  LPVOID param_;
  // A reference to the module holding this code, taken before the thread
  // starts and given back by the thread's very last call, so that a host
  // freeing the library meanwhile never unmaps code the thread still runs.
  HMODULE module_ = nullptr;
};

// Starts proc(param) on a new thread with the given priority, stack size (0:
// the default) and creation flags (0 or CREATE_SUSPENDED). Returns null when
// the thread cannot be created. The thread keeps the module that holds this
// code loaded until it has ended. An exception leaving proc ends the thread
// quietly with exit code 0 rather than the process.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                           int priority = THREAD_PRIORITY_NORMAL, UINT stack_size = 0,
                           DWORD create_flags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr) noexcept;
