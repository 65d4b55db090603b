#include "engine/engine_binding.h"

#include <utility>

#include "engine/engine_binding_error.h"
#include "engine/engine_folder.h"
#include "startup/program_texts.h"

namespace tessarel {
namespace {

HMODULE load_library(const std::wstring& program_folder, const std::wstring& file_name) {
  // Checked before the load: the engine reads its files as it starts and
  // writes them as it unloads, and would do neither where it is.
  if (!engine_can_use_folder(program_folder))
    throw engine_binding_error(std::wstring(msg_engine_folder_unusable) + L"\n" + program_folder);
  const HMODULE module = LoadLibraryW(file_name.c_str());
  if (module == nullptr) {
    const DWORD error = GetLastError();
    throw engine_binding_error(L"无法加载引擎库 " + file_name + L"（错误 " +
                               std::to_wstring(error) + L"）");
  }
  return module;
}

}  // namespace

std::wstring engine_library_path(const std::wstring& program_folder) {
  std::wstring path = program_folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + L"dravik.dll";
}

engine_binding::engine_binding(const std::wstring& program_folder, job_done_callback on_job_done)
    : file_name_(engine_library_path(program_folder)),
      module_(load_library(program_folder, file_name_)),
      entry_(bind_entry_points(module_.get(), file_name_)),
      completion_(std::move(on_job_done)) {}

// A job thread still inside a run export would keep the wait going for as
// long as the run lasts; the stop request ends the run at the engine's next
// check. The main window closes only while idle, so this is a safety net.
engine_binding::~engine_binding() {
  if (threads_.any_running()) entry_.working_stop();
  threads_.wait_all();
}

}  // namespace tessarel
