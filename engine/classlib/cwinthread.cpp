#include "classlib/cwinthread.h"

#include <process.h>

#include <new>

namespace {

// Any address inside this module, to find the module by.
const char module_marker = 0;

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) noexcept
    : proc_(proc), param_(param) {}

CWinThread::~CWinThread() {
  if (m_hThread != nullptr) CloseHandle(m_hThread);
}

DWORD CWinThread::ResumeThread() noexcept { return ::ResumeThread(m_hThread); }

unsigned __stdcall CWinThread::thread_entry(void* self) {
  CWinThread* thread = static_cast<CWinThread*>(self);
  UINT result = 0;
  // Nothing may unwind out of a thread procedure: it would end the process.
  try {
    result = thread->proc_(thread->param_);
  } catch (...) {
    result = 0;
  }
  const HMODULE module = thread->module_;
  if (thread->m_bAutoDelete) delete thread;
  // The module may be unloaded by this very call; the rest of it runs in the
  // system's code.
  if (module != nullptr) FreeLibraryAndExitThread(module, result);
  return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stack_size,
                           DWORD create_flags, LPSECURITY_ATTRIBUTES security) noexcept {
  if (proc == nullptr) return nullptr;
  CWinThread* thread = new (std::nothrow) CWinThread(proc, param);
  if (thread == nullptr) return nullptr;

  // Always created suspended, so the handle and id are stored before the
  // procedure can run and the priority applies from its first instruction.
  // _beginthreadex rather than CreateThread: the procedure uses the C runtime.
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&module_marker), &thread->module_);
  unsigned id = 0;
  const uintptr_t handle =
      _beginthreadex(security, stack_size, &CWinThread::thread_entry, thread, CREATE_SUSPENDED, &id);
  if (handle == 0) {
    if (thread->module_ != nullptr) FreeLibrary(thread->module_);
    delete thread;
    return nullptr;
  }
  thread->m_hThread = reinterpret_cast<HANDLE>(handle);
  thread->m_nThreadID = id;
  if (priority != THREAD_PRIORITY_NORMAL) SetThreadPriority(thread->m_hThread, priority);
  if ((create_flags & CREATE_SUSPENDED) == 0) thread->ResumeThread();
  return thread;
}
