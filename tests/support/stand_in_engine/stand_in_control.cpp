// The stand-in engine's scripted state, shared by the test executable and the
// stand-in dravik.dll because both load this one library.
#include "stand_in_engine/stand_in_control.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

struct control_state {
  control_state() {
    InitializeCriticalSection(&lock);
    InitializeConditionVariable(&journal_changed);
    runs_released = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  }
  ~control_state() {
    CloseHandle(runs_released);
    DeleteCriticalSection(&lock);
  }

  CRITICAL_SECTION lock;
  CONDITION_VARIABLE journal_changed;
  HANDLE runs_released;  // manual reset: set while runs are not held
  std::vector<stand_in_call> journal;

  WorkingStatus status{};
  std::array<int32_t, 1000> colours{};
  bool colours_null = false;
  CellFileList empty_list;
  CellFileList* files = nullptr;
  FileExtentInfo info{};
  bool info_null = true;
  VolumeInfo volume{};
  bool volume_null = true;
  bool flags[3] = {};
};

control_state state;

class locked {
 public:
  locked() { EnterCriticalSection(&state.lock); }
  ~locked() { LeaveCriticalSection(&state.lock); }
  locked(const locked&) = delete;
  locked& operator=(const locked&) = delete;
};

int count_of(const char* export_name) {
  int count = 0;
  for (const stand_in_call& call : state.journal) {
    if (std::strcmp(call.export_name, export_name) == 0) ++count;
  }
  return count;
}

void copy_text(char* target, std::size_t size, const char* text) {
  if (text == nullptr) text = "";
  std::strncpy(target, text, size - 1);
  target[size - 1] = '\0';
}

}  // namespace

extern "C" {

void stand_in_reset(void) {
  locked hold;
  state.journal.clear();
  state.status = WorkingStatus{};
  state.colours.fill(0);
  state.colours_null = false;
  state.files = nullptr;
  state.info = FileExtentInfo{};
  state.info_null = true;
  state.volume = VolumeInfo{};
  state.volume_null = true;
  for (bool& flag : state.flags) flag = false;
  SetEvent(state.runs_released);
}

void stand_in_hold_runs(void) { ResetEvent(state.runs_released); }
void stand_in_release_runs(void) { SetEvent(state.runs_released); }

bool stand_in_wait_for_calls(const char* export_name, int count, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  locked hold;
  while (count_of(export_name) < count) {
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeout_ms) return false;
    SleepConditionVariableCS(&state.journal_changed, &state.lock, timeout_ms - waited);
  }
  return true;
}

int stand_in_call_count(void) {
  locked hold;
  return static_cast<int>(state.journal.size());
}

bool stand_in_read_call(int index, stand_in_call* call) {
  locked hold;
  if (index < 0 || static_cast<std::size_t>(index) >= state.journal.size()) return false;
  *call = state.journal[static_cast<std::size_t>(index)];
  return true;
}

void stand_in_set_status(const WorkingStatus* status) {
  locked hold;
  state.status = status ? *status : WorkingStatus{};
}

void stand_in_set_colours(const int32_t* codes) {
  locked hold;
  state.colours_null = codes == nullptr;
  if (codes) std::memcpy(state.colours.data(), codes, sizeof(state.colours));
}

void stand_in_set_file_list(CellFileList* files) {
  locked hold;
  state.files = files;
}

void stand_in_set_file_info(const FileExtentInfo* info) {
  locked hold;
  state.info_null = info == nullptr;
  if (info) state.info = *info;
}

void stand_in_set_volume_info(const VolumeInfo* volume) {
  locked hold;
  state.volume_null = volume == nullptr;
  if (volume) state.volume = *volume;
}

void stand_in_set_flags(bool logout, bool restart, bool auto_run) {
  locked hold;
  state.flags[0] = logout;
  state.flags[1] = restart;
  state.flags[2] = auto_run;
}

void stand_in_journal(const char* export_name, const char* text, int first, int second) {
  stand_in_call call{};
  copy_text(call.export_name, sizeof(call.export_name), export_name);
  copy_text(call.text, sizeof(call.text), text);
  call.thread_id = GetCurrentThreadId();
  call.first = first;
  call.second = second;
  {
    locked hold;
    state.journal.push_back(call);
  }
  WakeAllConditionVariable(&state.journal_changed);
}

void stand_in_run_gate(void) { WaitForSingleObject(state.runs_released, INFINITE); }

WorkingStatus* stand_in_status(void) { return &state.status; }

int32_t* stand_in_colours(void) {
  return state.colours_null ? nullptr : state.colours.data();
}

CellFileList* stand_in_file_list(void) { return state.files ? state.files : &state.empty_list; }

FileExtentInfo* stand_in_file_info(void) { return state.info_null ? nullptr : &state.info; }

VolumeInfo* stand_in_volume_info(void) { return state.volume_null ? nullptr : &state.volume; }

bool stand_in_flag(int which) { return which >= 0 && which < 3 && state.flags[which]; }
}
